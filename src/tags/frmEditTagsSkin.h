#pragma once
// The tag editor's skin, painted by our own code: a title strip reading
// "Information", a dark blue panel behind the fields and three buttons along
// the bottom edge (Save, Remove ID3, Cancel), each under its hot spot.
#include <QImage>

namespace EditTagsSkin {

struct Pressed {
    bool save = false;
    bool removeId3 = false;
    bool cancel = false;
};

// A 274 x 209 picture, 24 bits per pixel.
QImage render(const Pressed &pressed = {});

} // namespace EditTagsSkin
