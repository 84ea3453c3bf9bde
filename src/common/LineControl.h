#pragma once
// A horizontal line of a skinned window (a meter bar), placed from twips:
// X1, Y1 and X2; Y2 equals Y1. At least one pixel long, however short.
#include <QColor>
#include <QWidget>

class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(QWidget *parent, const QString &name, double x1, double y1, double x2,
                const QColor &color = Qt::white);

    double X1() const { return m_x1; }
    double Y1() const { return m_y1; }
    double X2() const { return m_x2; }
    QColor BorderColor() const { return m_color; }
    void setBorderColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_x1, m_y1, m_x2;
    QColor m_color;
};
