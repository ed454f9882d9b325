#include "gui/Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace kel {

QPixmap AppIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    // chequered strip along the bottom
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 2; ++j) {
            p.fillRect(QRectF(i * 4, 26 + j * 3, 4, 3), ((i + j) % 2) ? QColor(20, 20, 20) : QColor(245, 245, 245));
        }
    }
    // stopwatch: crown, case, face, marks and hand
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(13.5, 1, 5, 4), 1, 1);
    p.drawRect(QRectF(15, 4, 2, 3));
    p.setBrush(QColor(128, 0, 0));
    p.drawEllipse(QPointF(16, 15.5), 11.5, 11.5);
    p.setBrush(QColor(250, 250, 245));
    p.drawEllipse(QPointF(16, 15.5), 9, 9);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    for (int k = 0; k < 12; ++k) {
        p.save();
        p.translate(16, 15.5);
        p.rotate(k * 30);
        p.drawLine(QPointF(0, -8), QPointF(0, k % 3 == 0 ? -6 : -7));
        p.restore();
    }
    p.setPen(QPen(QColor(0, 0, 128), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 15.5), QPointF(21, 10));
    p.setBrush(QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 15.5), 1.5, 1.5);
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(AppIconPixmap(size));
    return icon;
}

QPixmap FilterPicture() {
    QPixmap pixmap(21, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath funnel;
    funnel.moveTo(2, 4);
    funnel.lineTo(19, 4);
    funnel.lineTo(12.5, 12);
    funnel.lineTo(12.5, 20);
    funnel.lineTo(8.5, 22);
    funnel.lineTo(8.5, 12);
    funnel.closeSubpath();
    QLinearGradient fill(2, 0, 19, 0);
    fill.setColorAt(0, QColor(70, 110, 200));
    fill.setColorAt(1, QColor(20, 50, 140));
    p.setBrush(fill);
    p.setPen(QPen(QColor(10, 25, 80), 1));
    p.drawPath(funnel);
    p.setPen(QPen(QColor(200, 220, 255), 1));
    p.drawLine(QPointF(4.5, 5.5), QPointF(16.5, 5.5));
    return pixmap;
}

QPixmap ProgressPicture() {
    QPixmap pixmap(21, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // axes
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawLine(QPointF(2.5, 3), QPointF(2.5, 21.5));
    p.drawLine(QPointF(2.5, 21.5), QPointF(20, 21.5));
    // runs, coloured dots trending down
    const struct {
        double x, y;
        QColor colour;
    } dots[] = {{6, 7, QColor(31, 119, 180)},  {9, 11, QColor(255, 127, 14)}, {11, 8, QColor(31, 119, 180)},
                {13, 14, QColor(44, 160, 44)}, {16, 12, QColor(255, 127, 14)}, {18, 17, QColor(44, 160, 44)}};
    p.setPen(Qt::NoPen);
    for (const auto& d : dots) {
        p.setBrush(d.colour);
        p.drawEllipse(QPointF(d.x, d.y), 1.6, 1.6);
    }
    // the best so far, stepping down
    p.setPen(QPen(QColor(128, 0, 0), 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath steps;
    steps.moveTo(4, 7);
    steps.lineTo(9, 7);
    steps.lineTo(9, 11);
    steps.lineTo(13, 11);
    steps.lineTo(13, 14);
    steps.lineTo(18, 14);
    steps.lineTo(18, 17);
    steps.lineTo(20, 17);
    p.drawPath(steps);
    return pixmap;
}

} // namespace kel
