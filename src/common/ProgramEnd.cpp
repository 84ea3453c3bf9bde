#include "ProgramEnd.h"

#include <QCoreApplication>

namespace {
struct SeamState {
    bool scripted = false;
    int calls = 0;
};
SeamState &seam()
{
    static SeamState s;
    return s;
}
} // namespace

void EndProgram()
{
    if (seam().scripted) {
        ++seam().calls;
        return;
    }
    QCoreApplication::exit(0);
}

namespace ProgramEndSeam {
void setScripted(bool on) { seam().scripted = on; }
bool isScripted() { return seam().scripted; }
int calls() { return seam().calls; }
void clear() { seam().calls = 0; }
}
