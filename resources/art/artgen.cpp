// Draws every picture of the programs, so the artwork lives in the repository as source.
// Usage: artgen <output folder>

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace {

// ---------------------------------------------------------------- palette

const QColor kNavy(56, 75, 139);
const QColor kBacking(12, 16, 34);
const QColor kEdgeLight(170, 190, 240);
const QColor kScreen(9, 13, 28);
const QColor kTextLight(236, 241, 255);
const QColor kTextDim(168, 182, 222);
const QColor kAmber(255, 196, 60);
const QColor kBodyYellow(255, 222, 50);
const QColor kBodyOrange(246, 138, 22);
const QColor kOutline(28, 22, 14);
const QColor kMagenta(236, 70, 214);
const QColor kCyan(90, 220, 255);
const QColor kLedGreen(110, 255, 150);

// ---------------------------------------------------------------- skin layout

// Places the programs rely on: the map panels, the close hot spot and the switch.
const QRect kMapArea(56, 62, 490, 635);
const QRect kCloseButton(80, 724, 45, 22);
const QRect kTopmostSwitch(475, 724, 45, 23);
const QSize kSkinSize(600, 755);

// The waypoint the map menu's aircraft is flying to.
const QPointF kMenuNextWaypoint(300, 218);

// ---------------------------------------------------------------- helpers

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont uiFont(qreal pixels, bool bold = true) {
    QFont font("DejaVu Sans");
    font.setPixelSize(qMax(1, qRound(pixels)));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Largest pixel size not above `pixels` whose rendering of `text` fits `width`.
QFont fittedFont(const QString& text, qreal pixels, qreal width, bool bold = true) {
    QFont font = uiFont(pixels, bold);
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QFont spacedFont(qreal pixels, qreal spacing, bool bold = true) {
    QFont font = uiFont(pixels, bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return font;
}

// Text as a path whose visual box is centred on `centre`, for exact placement.
QPainterPath centredText(const QString& text, const QFont& font, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(centre - box.center());
    return path;
}

// Text path with its left edge at x and baseline at y.
QPainterPath textAt(const QString& text, const QFont& font, QPointF baseline) {
    QPainterPath path;
    path.addText(baseline, font, text);
    return path;
}

QColor withAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// Box blur of the alpha-premultiplied image; three passes approximate a gaussian.
QImage blurred(const QImage& source, int radius) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width();
    const int h = image.height();
    const auto pass = [&](bool horizontal) {
        const QImage from = image.copy();
        const int outer = horizontal ? h : w;
        const int inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            for (int i = 0; i < inner; ++i) {
                std::array<int, 4> sum{};
                int count = 0;
                for (int k = std::max(0, i - radius); k <= std::min(inner - 1, i + radius); ++k) {
                    const QRgb px = horizontal ? from.pixel(k, o) : from.pixel(o, k);
                    sum[0] += qRed(px);
                    sum[1] += qGreen(px);
                    sum[2] += qBlue(px);
                    sum[3] += qAlpha(px);
                    ++count;
                }
                const QRgb out =
                    qRgba(sum[0] / count, sum[1] / count, sum[2] / count, sum[3] / count);
                if (horizontal)
                    image.setPixel(i, o, out);
                else
                    image.setPixel(o, i, out);
            }
        }
    };
    for (int n = 0; n < 3; ++n) {
        pass(true);
        pass(false);
    }
    return image;
}

QPointF polar(QPointF centre, qreal radius, qreal degreesFromNorth) {
    const qreal a = degreesFromNorth * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
}

// Degrees clockwise from north (up) of the line from `from` to `to`.
qreal bearing(QPointF from, QPointF to) {
    const QPointF d = to - from;
    return std::atan2(d.x(), -d.y()) * 180.0 / std::numbers::pi;
}

// ---------------------------------------------------------------- shared motifs

// Top-down airliner pointing up, centred on the origin; about 36 units long and 32 wide.
QPainterPath aircraftShape() {
    const std::vector<QPointF> right = {
        {2.5, -5.0}, {16.0, 3.2}, {16.0, 6.0}, {2.5, 1.8},
        {2.1, 10.5}, {7.6, 14.2}, {7.6, 16.6}, {1.4, 15.4},
    };
    QPainterPath path;
    path.moveTo(0, -18);
    path.cubicTo(1.6, -17.6, 2.5, -15.8, 2.5, -13.0);
    for (const QPointF& p : right)
        path.lineTo(p);
    path.lineTo(0, 17.2);
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        path.lineTo(-it->x(), it->y());
    path.lineTo(-2.5, -13.0);
    path.cubicTo(-2.5, -15.8, -1.6, -17.6, 0, -18);
    path.closeSubpath();
    return path;
}

// Draws the aircraft at the painter's origin, scaled and turned clockwise from north.
void drawAircraft(QPainter& p, qreal scale, qreal heading, qreal outline = 1.6) {
    p.save();
    p.scale(scale, scale);
    p.rotate(heading);
    const QPainterPath shape = aircraftShape();
    QRadialGradient body(QPointF(0, -2), 17);
    body.setColorAt(0.0, kBodyYellow.lighter(108));
    body.setColorAt(0.45, kBodyYellow);
    body.setColorAt(1.0, kBodyOrange);
    p.setPen(QPen(kOutline, outline / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(body);
    p.drawPath(shape);
    // A light spine reads as the fuselage top and gives the silhouette some volume.
    p.setPen(QPen(QColor(255, 250, 210, 200), 1.0 / scale * 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -15.5), QPointF(0, 12.5));
    p.restore();
}

void drawScrew(QPainter& p, QPointF centre, qreal radius, qreal slotAngle) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 90));
    p.drawEllipse(centre + QPointF(0.6, 1.2), radius + 1.2, radius + 1.2);
    p.setBrush(QColor(110, 130, 190, 120));
    p.drawEllipse(centre, radius + 1.2, radius + 1.2);
    QRadialGradient head(centre + QPointF(-radius * 0.4, -radius * 0.5), radius * 1.6);
    head.setColorAt(0, QColor(222, 228, 245));
    head.setColorAt(0.5, QColor(150, 160, 190));
    head.setColorAt(1, QColor(70, 78, 105));
    p.setBrush(head);
    p.setPen(QPen(QColor(30, 36, 60), 0.8));
    p.drawEllipse(centre, radius, radius);
    p.translate(centre);
    p.rotate(slotAngle);
    p.setPen(QPen(QColor(40, 46, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-radius * 0.7, 0), QPointF(radius * 0.7, 0));
    p.setPen(QPen(QColor(240, 244, 255, 120), 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-radius * 0.6, 1.1), QPointF(radius * 0.6, 1.1));
    p.restore();
}

// Compass ring with ticks every 10 degrees and cardinal letters; north marked in amber.
void drawCompassRose(QPainter& p, QPointF c, qreal radius, qreal tickScale, bool letters) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kEdgeLight, 200), qMax(1.0, radius / 26.0)));
    p.drawEllipse(c, radius, radius);
    for (int deg = 0; deg < 360; deg += 10) {
        const bool major = deg % 30 == 0;
        const qreal len = (major ? 5.0 : 2.8) * tickScale;
        p.setPen(QPen(withAlpha(kTextLight, major ? 230 : 140), major ? 1.3 * tickScale : 0.9,
                      Qt::SolidLine, Qt::RoundCap));
        p.drawLine(polar(c, radius - 0.5, deg), polar(c, radius - 0.5 - len, deg));
    }
    if (letters) {
        const QFont font = uiFont(radius * 0.26);
        const std::array<std::pair<int, const char*>, 4> cardinals = {
            {{0, "N"}, {90, "E"}, {180, "S"}, {270, "W"}}};
        for (const auto& [deg, letter] : cardinals) {
            p.setPen(Qt::NoPen);
            p.setBrush(deg == 0 ? kAmber : withAlpha(kTextLight, 210));
            p.drawPath(centredText(letter, font, polar(c, radius - 8.5 * tickScale - 3, deg)));
        }
    }
    p.restore();
}

// ---------------------------------------------------------------- skin

QPainterPath roundedRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void drawSkinBody(QPainter& p) {
    const QRectF outer(1.5, 1.5, kSkinSize.width() - 3.0, kSkinSize.height() - 3.0);
    p.fillRect(QRect(QPoint(0, 0), kSkinSize), kBacking);

    // Outer rim: light at the top edge, dark at the bottom, like a cast frame lit from above.
    QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
    rim.setColorAt(0, QColor(112, 134, 204));
    rim.setColorAt(0.08, QColor(70, 92, 162));
    rim.setColorAt(0.9, QColor(40, 54, 108));
    rim.setColorAt(1, QColor(26, 35, 74));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawPath(roundedRect(outer, 26));

    // Face plate, inset in the rim with a slight top-left sheen.
    const QRectF face = outer.adjusted(7, 7, -7, -7);
    QLinearGradient faceFill(face.topLeft(), face.bottomRight());
    faceFill.setColorAt(0, QColor(66, 87, 156));
    faceFill.setColorAt(0.5, kNavy);
    faceFill.setColorAt(1, QColor(44, 60, 116));
    p.setBrush(faceFill);
    p.setPen(QPen(QColor(20, 28, 60, 200), 1.4));
    p.drawPath(roundedRect(face, 20));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kEdgeLight, 70), 1.0));
    p.drawPath(roundedRect(face.adjusted(1.4, 1.4, -1.4, -1.4), 19));

    // Bright lip on the outer edge, strongest along the top.
    QLinearGradient lip(outer.topLeft(), outer.bottomLeft());
    lip.setColorAt(0, withAlpha(QColor(210, 222, 255), 230));
    lip.setColorAt(0.3, withAlpha(kEdgeLight, 90));
    lip.setColorAt(1, withAlpha(kEdgeLight, 30));
    p.setPen(QPen(QBrush(lip), 1.3));
    p.drawPath(roundedRect(outer.adjusted(0.6, 0.6, -0.6, -0.6), 25.5));
}

void drawTitleBand(QPainter& p) {
    const qreal centreY = 33;
    const QFont font = spacedFont(23, 0.6);
    const QString title = QStringLiteral("Vantrelle Skyplot");
    const QPainterPath text = centredText(title, font, QPointF(314, centreY));

    // Engraved plate behind the title.
    const QRectF textBox = text.boundingRect();
    const QRectF plate(textBox.left() - 58, 14, textBox.width() + 78, 38);
    p.setPen(QPen(withAlpha(kEdgeLight, 90), 1.0));
    p.setBrush(vertical(plate, QColor(34, 47, 98), QColor(48, 65, 128)));
    p.drawPath(roundedRect(plate, 10));
    p.setPen(QPen(QColor(14, 20, 44, 170), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedRect(plate.adjusted(1, 1, -1, -1), 9));

    // Side rules lead the eye from the screws to the plate.
    for (const qreal x : {plate.left() - 12.0, plate.right() + 12.0}) {
        const qreal far = x < 300 ? 46.0 : 554.0;
        QLinearGradient fade(QPointF(far, 0), QPointF(x, 0));
        fade.setColorAt(0, withAlpha(kEdgeLight, 0));
        fade.setColorAt(1, withAlpha(kEdgeLight, 120));
        p.setPen(QPen(QBrush(fade), 1.0));
        p.drawLine(QPointF(far, centreY - 1.5), QPointF(x, centreY - 1.5));
        p.setPen(QPen(withAlpha(Qt::black, 60), 1.0));
        p.drawLine(QPointF(far, centreY - 0.5), QPointF(x, centreY - 0.5));
    }

    // Small compass emblem at the plate's left end.
    const QPointF emblem(plate.left() + 24, centreY);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 20, 44));
    p.drawEllipse(emblem, 14, 14);
    drawCompassRose(p, emblem, 13, 0.6, false);
    p.translate(emblem);
    drawAircraft(p, 0.52, 30, 1.0);
    p.translate(-emblem);

    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 150));
    p.drawPath(text.translated(0, 1.5));
    p.setBrush(vertical(textBox, QColor(255, 255, 255), QColor(200, 212, 245)));
    p.drawPath(text);
}

void drawScreenRecess(QPainter& p) {
    // Bezel well, a few pixels larger than the map so its edge shows all round.
    const QRectF well(kMapArea.adjusted(-7, -7, 7, 7));
    QLinearGradient wellFill(well.topLeft(), well.bottomLeft());
    wellFill.setColorAt(0, QColor(18, 25, 54));
    wellFill.setColorAt(1, QColor(40, 54, 106));
    p.setBrush(wellFill);
    p.setPen(Qt::NoPen);
    p.drawPath(roundedRect(well, 9));
    // Highlight on the lower lip and shadow on the upper lip of the well.
    p.setBrush(Qt::NoBrush);
    QLinearGradient lip(well.topLeft(), well.bottomLeft());
    lip.setColorAt(0, withAlpha(Qt::black, 170));
    lip.setColorAt(0.5, withAlpha(Qt::black, 40));
    lip.setColorAt(1, withAlpha(kEdgeLight, 180));
    p.setPen(QPen(QBrush(lip), 1.4));
    p.drawPath(roundedRect(well.adjusted(-0.7, -0.7, 0.7, 0.7), 9.5));

    // The glass itself, with a thin inset border just outside the map area.
    const QRectF glass(kMapArea.adjusted(-3, -3, 3, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(kScreen);
    p.drawPath(roundedRect(glass, 4));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(92, 112, 176, 200), 1.0));
    p.drawPath(roundedRect(glass.adjusted(0.5, 0.5, -0.5, -0.5), 3.5));
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    p.drawRect(QRectF(kMapArea).adjusted(-1.5, -1.5, 1.5, 1.5));

    // A faint grid and sheen, only seen while the map is not yet showing.
    p.setPen(QPen(QColor(40, 56, 100, 90), 1.0));
    for (int x = kMapArea.left() + 35; x < kMapArea.right(); x += 70)
        p.drawLine(QPointF(x + 0.5, kMapArea.top()), QPointF(x + 0.5, kMapArea.bottom()));
    for (int y = kMapArea.top() + 37; y < kMapArea.bottom(); y += 70)
        p.drawLine(QPointF(kMapArea.left(), y + 0.5), QPointF(kMapArea.right(), y + 0.5));
    QLinearGradient sheen(kMapArea.topLeft(), kMapArea.bottomRight());
    sheen.setColorAt(0, QColor(255, 255, 255, 18));
    sheen.setColorAt(0.4, QColor(255, 255, 255, 0));
    p.fillRect(kMapArea, sheen);
}

void drawSideDetails(QPainter& p) {
    // Cooling slots down both sides, machined into the face.
    for (const qreal x : {20.0, 565.0}) {
        for (int i = 0; i < 7; ++i) {
            const QRectF slot(x, 330 + i * 14, 15, 4);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(16, 22, 48));
            p.drawRoundedRect(slot, 2, 2);
            p.setPen(QPen(withAlpha(kEdgeLight, 110), 0.8));
            p.drawLine(slot.bottomLeft() + QPointF(1.5, 0.6),
                       slot.bottomRight() + QPointF(-1.5, 0.6));
        }
    }
    for (const QPointF c : {QPointF(24, 24), QPointF(576, 24), QPointF(24, 731), QPointF(576, 731)})
        drawScrew(p, c, 6.5, c.x() < 300 ? 35 : -25);
}

// A panel push button in the bottom band; `lit` shows the pressed, engaged state.
void drawPanelButton(QPainter& p, const QRectF& r, bool lit) {
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 120));
    p.drawPath(roundedRect(r.adjusted(0, 1, 0, 0), 5));
    const QRectF body = r.adjusted(1, 1, -1, -1.5);
    const QColor top = lit ? QColor(24, 34, 72) : QColor(84, 106, 176);
    const QColor bottom = lit ? QColor(46, 62, 122) : QColor(34, 46, 96);
    p.setBrush(vertical(body, top, bottom));
    p.setPen(QPen(lit ? withAlpha(kLedGreen, 150) : withAlpha(kEdgeLight, 190), 1.0));
    p.drawPath(roundedRect(body, 4.5));
    if (!lit) {
        p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
        p.drawLine(body.topLeft() + QPointF(4, 1.2), body.topRight() + QPointF(-4, 1.2));
    }
}

void drawCloseButton(QPainter& p) {
    const QRectF r(kCloseButton);
    drawPanelButton(p, r, false);
    const QPainterPath label =
        centredText("CLOSE", spacedFont(9, 0.4), r.center() + QPointF(0, -0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 150));
    p.drawPath(label.translated(0, 1));
    p.setBrush(kTextLight);
    p.drawPath(label);
}

// The stay-on-top switch; drawn into the skin unlit and into both switch pictures.
void drawTopmostSwitch(QPainter& p, const QRectF& r, bool lit) {
    drawPanelButton(p, r.adjusted(0, 0, 0, -1), lit);
    const QPointF led(r.left() + 10, r.center().y() - 0.5);
    if (lit) {
        QRadialGradient glow(led, 8);
        glow.setColorAt(0, withAlpha(kLedGreen, 170));
        glow.setColorAt(1, withAlpha(kLedGreen, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(led, 8, 8);
    }
    QRadialGradient bulb(led + QPointF(-1, -1), 4);
    bulb.setColorAt(0, lit ? QColor(230, 255, 235) : QColor(130, 136, 150));
    bulb.setColorAt(0.5, lit ? kLedGreen : QColor(80, 86, 100));
    bulb.setColorAt(1, lit ? QColor(30, 170, 70) : QColor(44, 48, 60));
    p.setBrush(bulb);
    p.setPen(QPen(QColor(10, 14, 30), 0.9));
    p.drawEllipse(led, 3.3, 3.3);

    const QPainterPath label =
        centredText("TOP", spacedFont(9.5, 0.5), QPointF(r.left() + 28.5, r.center().y() - 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 150));
    p.drawPath(label.translated(0, 1));
    p.setBrush(lit ? QColor(200, 255, 214) : QColor(150, 158, 180));
    p.drawPath(label);
}

void drawBottomBand(QPainter& p) {
    // Engraved caption above the switch and a maker's mark between the two controls.
    const QFont caption = spacedFont(7.5, 0.9);
    p.setPen(Qt::NoPen);
    const auto engrave = [&](const QPainterPath& text, const QColor& color) {
        p.setBrush(withAlpha(kEdgeLight, 70));
        p.drawPath(text.translated(0, 0.8));
        p.setBrush(color);
        p.drawPath(text);
    };
    engrave(centredText("STAY ON TOP", caption, QPointF(kTopmostSwitch.center().x() + 0.5, 715)),
            QColor(18, 26, 58));

    const QRectF groove(160, 729, 280, 12);
    p.setBrush(QColor(28, 38, 80));
    p.setPen(QPen(withAlpha(kEdgeLight, 60), 1.0));
    p.drawPath(roundedRect(groove, 6));
    engrave(centredText("VANTRELLE  NAVIGATION", spacedFont(8, 2.2), groove.center()),
            withAlpha(kTextDim, 220));

    drawCloseButton(p);
}

QImage skinBase() {
    QImage image(kSkinSize, QImage::Format_RGB32);
    QPainter p(&image);
    prepare(p);
    drawSkinBody(p);
    drawTitleBand(p);
    drawScreenRecess(p);
    drawSideDetails(p);
    drawBottomBand(p);
    return image;
}

QImage skin(const QImage& base) {
    QImage image = base.copy();
    QPainter p(&image);
    prepare(p);
    drawTopmostSwitch(p, QRectF(kTopmostSwitch), false);
    return image;
}

// Opaque crop of the skin with the switch drawn over it, so it blends in exactly.
QImage topmostSwitch(const QImage& base, bool lit) {
    QImage image = base.copy(kTopmostSwitch).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    drawTopmostSwitch(p, QRectF(QPointF(0, 0), QSizeF(kTopmostSwitch.size())), lit);
    return image;
}

// ---------------------------------------------------------------- buttons and icons

QImage menuButton(int width, int height, qreal radius) {
    QImage image = canvas(width, height);
    QPainter p(&image);
    prepare(p);
    const QRectF body = QRectF(0, 0, width, height).adjusted(1, 1, -1, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 110));
    p.drawPath(roundedRect(body.translated(0, 1.2), radius));

    p.setBrush(vertical(body, QColor(54, 74, 146), QColor(20, 30, 72)));
    p.setPen(QPen(QColor(150, 176, 238), 1.2));
    p.drawPath(roundedRect(body, radius));

    // Gloss on the upper half, fading out before the middle where the label sits.
    const QRectF gloss = body.adjusted(2.5, 2.5, -2.5, -body.height() * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(gloss, QColor(255, 255, 255, 70), QColor(255, 255, 255, 6)));
    p.drawPath(roundedRect(gloss, radius - 2.5));

    // Faint reflected light along the bottom edge.
    QLinearGradient glow(body.bottomLeft(), body.bottomLeft() + QPointF(0, -height * 0.3));
    glow.setColorAt(0, QColor(120, 160, 255, 60));
    glow.setColorAt(1, QColor(120, 160, 255, 0));
    p.setBrush(glow);
    p.drawPath(roundedRect(body.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1.5));
    return image;
}

// Glossy round badge used by the small status and dialog icons.
void drawBadge(QPainter& p, QPointF c, qreal radius, const QColor& light, const QColor& dark,
               qreal border) {
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 70));
    p.drawEllipse(c + QPointF(0, radius * 0.06), radius, radius);
    QRadialGradient fill(c + QPointF(-radius * 0.3, -radius * 0.4), radius * 1.5);
    fill.setColorAt(0, light);
    fill.setColorAt(1, dark);
    p.setBrush(fill);
    p.setPen(QPen(QColor(255, 255, 255, 235), border));
    p.drawEllipse(c, radius - border / 2, radius - border / 2);
    if (radius >= 10) {
        const QRectF gloss(c.x() - radius * 0.62, c.y() - radius * 0.82, radius * 1.24,
                           radius * 0.8);
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(gloss, QColor(255, 255, 255, 90), QColor(255, 255, 255, 0)));
        p.drawEllipse(gloss);
    }
}

QImage notice() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    prepare(p);
    const QPointF c(16, 16);
    drawBadge(p, c, 15, QColor(110, 160, 250), QColor(22, 60, 160), 1.8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.2), 2.3, 2.3);
    p.drawRoundedRect(QRectF(14, 13.2, 4, 11.3), 1.3, 1.3);
    p.drawRoundedRect(QRectF(12.3, 13.2, 4, 2.4), 0.8, 0.8);
    p.drawRoundedRect(QRectF(12.3, 22.6, 7.4, 2.4), 0.8, 0.8);
    return image;
}

QImage question() {
    QImage image = canvas(32, 32);
    QPainter p(&image);
    prepare(p);
    drawBadge(p, QPointF(16, 16), 15, QColor(110, 160, 250), QColor(22, 60, 160), 1.8);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 90));
    const QPainterPath mark = centredText("?", uiFont(21), QPointF(16, 16.3));
    p.drawPath(mark.translated(0, 1));
    p.setBrush(Qt::white);
    p.drawPath(mark);
    return image;
}

QImage reloadYes() {
    QImage image = canvas(28, 28);
    QPainter p(&image);
    prepare(p);
    drawBadge(p, QPointF(14, 14), 13.5, QColor(120, 230, 130), QColor(18, 120, 44), 1.6);
    QPainterPath tick;
    tick.moveTo(8.2, 14.6);
    tick.lineTo(12.2, 18.6);
    tick.lineTo(19.8, 9.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(Qt::black, 80), 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick.translated(0, 0.8));
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return image;
}

QImage reloadNo() {
    QImage image = canvas(28, 28);
    QPainter p(&image);
    prepare(p);
    drawBadge(p, QPointF(14, 14), 13.5, QColor(250, 120, 110), QColor(150, 20, 28), 1.6);
    const auto cross = [&](const QPen& pen, qreal dy) {
        p.setPen(pen);
        p.drawLine(QPointF(9.3, 9.3 + dy), QPointF(18.7, 18.7 + dy));
        p.drawLine(QPointF(18.7, 9.3 + dy), QPointF(9.3, 18.7 + dy));
    };
    cross(QPen(withAlpha(Qt::black, 80), 3.6, Qt::SolidLine, Qt::RoundCap), 0.8);
    cross(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap), 0);
    return image;
}

QImage loading() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    prepare(p);
    drawBadge(p, QPointF(8, 8), 7.8, QColor(100, 160, 255), QColor(20, 64, 170), 1.0);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 3.6), QPointF(8, 8.2));
    QPainterPath head;
    head.moveTo(4.6, 7.2);
    head.lineTo(11.4, 7.2);
    head.lineTo(8, 10.8);
    head.closeSubpath();
    p.setPen(QPen(Qt::white, 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(head);
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.8, 12.3), QPointF(11.2, 12.3));
    return image;
}

QImage disconnected() {
    QImage image = canvas(16, 16);
    QPainter p(&image);
    prepare(p);
    drawBadge(p, QPointF(8, 8), 7.8, QColor(235, 78, 70), QColor(150, 18, 24), 1.0);
    // Two chain links pulled apart, with sparks flying from the gap; edges sit on pixel
    // boundaries so the tiny glyph stays crisp.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.0));
    p.drawRoundedRect(QRectF(2.5, 5.5, 4, 5), 1.4, 1.4);
    p.drawRoundedRect(QRectF(9.5, 5.5, 4, 5), 1.4, 1.4);
    p.setPen(QPen(Qt::white, 2.0));
    p.drawLine(QPointF(8, 3), QPointF(8, 5));
    p.drawLine(QPointF(8, 11), QPointF(8, 13));
    return image;
}

// ---------------------------------------------------------------- splash and icon

QImage splash() {
    QImage image = canvas(300, 100);
    const QRectF panel(8, 5, 284, 84);

    // Soft shadow around the panel, a little heavier below it.
    QImage shadow = canvas(300, 100);
    {
        QPainter s(&shadow);
        prepare(s);
        s.setPen(Qt::NoPen);
        s.setBrush(QColor(0, 0, 20, 230));
        s.drawPath(roundedRect(panel.adjusted(-1, 2, 1, 4), 16));
    }
    shadow = blurred(shadow, 3);

    QPainter p(&image);
    prepare(p);
    p.drawImage(0, 0, shadow);

    QLinearGradient fill(panel.topLeft(), panel.bottomLeft());
    fill.setColorAt(0, QColor(78, 101, 176, 245));
    fill.setColorAt(0.55, QColor(48, 65, 128, 245));
    fill.setColorAt(1, QColor(26, 36, 80, 245));
    p.setBrush(fill);
    p.setPen(QPen(QColor(180, 198, 245, 220), 1.2));
    p.drawPath(roundedRect(panel, 16));
    const QRectF gloss = panel.adjusted(2, 2, -2, -panel.height() * 0.52);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(gloss, QColor(255, 255, 255, 55), QColor(255, 255, 255, 0)));
    p.drawPath(roundedRect(gloss, 14));

    // Compass dial with the aircraft on the left.
    const QPointF dial(50, 47);
    QRadialGradient face(dial, 32);
    face.setColorAt(0, QColor(30, 44, 96));
    face.setColorAt(1, QColor(10, 15, 36));
    p.setBrush(face);
    p.setPen(QPen(withAlpha(kEdgeLight, 160), 1.0));
    p.drawEllipse(dial, 32, 32);
    drawCompassRose(p, dial, 29, 0.9, true);
    p.translate(dial);
    drawAircraft(p, 0.72, 40, 1.2);
    p.resetTransform();

    const qreal left = 92;
    const qreal width = panel.right() - left - 10;
    const QString title = QStringLiteral("Vantrelle Skyplot");
    const QPainterPath name = textAt(title, fittedFont(title, 24, width), QPointF(left, 47));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 140));
    p.drawPath(name.translated(0, 1.5));
    p.setBrush(vertical(name.boundingRect(), Qt::white, QColor(205, 218, 250)));
    p.drawPath(name);

    // Magenta rule with waypoint dots echoes a flight plan under the name.
    const qreal ruleY = 56;
    p.setPen(QPen(kMagenta, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(left + 1, ruleY), QPointF(left + width, ruleY));
    p.setPen(QPen(QColor(20, 10, 30), 0.8));
    p.setBrush(kCyan);
    for (const qreal x : {left + 1.0, left + width * 0.55, left + width})
        p.drawEllipse(QPointF(x, ruleY), 2.4, 2.4);

    p.setPen(Qt::NoPen);
    p.setBrush(kTextDim);
    p.drawPath(textAt("Moving map for X-Plane", uiFont(11.5, false), QPointF(left, 75)));
    return image;
}

QImage appIcon() {
    QImage image = canvas(64, 64);
    QPainter p(&image);
    prepare(p);
    const QRectF tile(2, 2, 60, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 90));
    p.drawPath(roundedRect(tile.translated(0, 1), 13));
    p.setBrush(vertical(tile, QColor(80, 104, 182), QColor(28, 40, 88)));
    p.setPen(QPen(QColor(190, 205, 250), 1.2));
    p.drawPath(roundedRect(tile.adjusted(0.6, 0.6, -0.6, -0.6), 12.5));

    const QPointF c(32, 32);
    QRadialGradient face(c, 26);
    face.setColorAt(0, QColor(28, 44, 98));
    face.setColorAt(1, QColor(10, 16, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawEllipse(c, 26, 26);

    // A scrap of coastline and the route behind the aircraft.
    p.save();
    QPainterPath clip;
    clip.addEllipse(c, 25, 25);
    p.setClipPath(clip);
    QPainterPath land;
    land.moveTo(4, 44);
    land.cubicTo(16, 36, 22, 48, 34, 44);
    land.cubicTo(44, 41, 48, 52, 62, 48);
    land.lineTo(62, 64);
    land.lineTo(4, 64);
    land.closeSubpath();
    p.setBrush(QColor(46, 86, 112));
    p.setPen(QPen(QColor(120, 190, 220), 1.0));
    p.drawPath(land);
    p.setPen(QPen(kMagenta, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 56), c);
    p.drawLine(c, QPointF(52, 12));
    p.restore();

    drawCompassRose(p, c, 25, 0.95, false);
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    QPainterPath north;
    north.moveTo(32, 2.5);
    north.lineTo(35.5, 9);
    north.lineTo(28.5, 9);
    north.closeSubpath();
    p.setPen(QPen(kOutline, 0.8));
    p.drawPath(north);

    p.translate(c);
    drawAircraft(p, 0.9, 40, 1.4);
    return image;
}

// ---------------------------------------------------------------- map page symbols

QImage plane(int heading) {
    QImage image = canvas(40, 40);
    QPainter p(&image);
    prepare(p);
    p.translate(20, 20);
    drawAircraft(p, 1.0, heading);
    return image;
}

// Airport symbol centred on `c`: a blue disc with service ticks and a white runway.
void drawAirportSymbol(QPainter& p, QPointF c, qreal scale, qreal runwayAngle) {
    p.save();
    p.translate(c);
    p.scale(scale, scale);
    const QPointF o(0, 0);
    const QColor dark(10, 14, 30);
    p.setPen(QPen(dark, 4.2, Qt::SolidLine, Qt::RoundCap));
    for (int deg = 0; deg < 360; deg += 90)
        p.drawLine(polar(o, 7, deg), polar(o, 9.8, deg));
    p.setPen(QPen(QColor(70, 170, 255), 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int deg = 0; deg < 360; deg += 90)
        p.drawLine(polar(o, 7, deg), polar(o, 9.8, deg));
    QRadialGradient disc(QPointF(-2, -2.5), 10);
    disc.setColorAt(0, QColor(110, 190, 255));
    disc.setColorAt(1, QColor(30, 100, 210));
    p.setBrush(disc);
    p.setPen(QPen(dark, 1.4));
    p.drawEllipse(o, 7.4, 7.4);
    p.rotate(runwayAngle);
    p.setPen(QPen(dark, 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(-1.6, -5.6, 3.2, 11.2), 0.7, 0.7);
    p.restore();
}

QImage airport() {
    QImage image = canvas(24, 24);
    QPainter p(&image);
    prepare(p);
    drawAirportSymbol(p, QPointF(12, 12), 1.0, -35);
    return image;
}

QImage waypoint() {
    QImage image = canvas(20, 20);
    QPainter p(&image);
    prepare(p);
    QPainterPath diamond;
    diamond.moveTo(10, 2);
    diamond.lineTo(18, 10);
    diamond.lineTo(10, 18);
    diamond.lineTo(2, 10);
    diamond.closeSubpath();
    QLinearGradient fill(QPointF(10, 2), QPointF(10, 18));
    fill.setColorAt(0, QColor(255, 130, 240));
    fill.setColorAt(1, QColor(200, 30, 180));
    p.setBrush(fill);
    p.setPen(QPen(QColor(30, 6, 36), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(diamond);
    p.setPen(QPen(QColor(30, 6, 36), 1.0));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(10, 10), 2.2, 2.2);
    return image;
}

// ---------------------------------------------------------------- map menu illustration

QPainterPath smoothClosed(const std::vector<QPointF>& points) {
    // Catmull-Rom through the points, giving organic coastlines from a few anchors.
    QPainterPath path;
    const int n = static_cast<int>(points.size());
    path.moveTo(points[0]);
    for (int i = 0; i < n; ++i) {
        const QPointF p0 = points[(i - 1 + n) % n];
        const QPointF p1 = points[i];
        const QPointF p2 = points[(i + 1) % n];
        const QPointF p3 = points[(i + 2) % n];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    path.closeSubpath();
    return path;
}

void drawLand(QPainter& p, const QPainterPath& land) {
    // Shallow-water halo, then the land with a crisp coastline.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(50, 90, 150, 70), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(land);
    p.setPen(QPen(QColor(60, 110, 170, 90), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(land);
    const QRectF box = land.boundingRect();
    p.setBrush(vertical(box, QColor(52, 92, 118), QColor(40, 74, 100)));
    p.setPen(QPen(QColor(130, 200, 225), 1.3));
    p.drawPath(land);
}

void drawMapLabel(QPainter& p, const QString& text, QPointF at, const QColor& color, qreal size) {
    const QPainterPath path = textAt(text, uiFont(size), at);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(8, 12, 28, 220), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
}

void drawMenuWaypoint(QPainter& p, QPointF c) {
    QPainterPath diamond;
    diamond.moveTo(c + QPointF(0, -6));
    diamond.lineTo(c + QPointF(6, 0));
    diamond.lineTo(c + QPointF(0, 6));
    diamond.lineTo(c + QPointF(-6, 0));
    diamond.closeSubpath();
    p.setPen(QPen(QColor(20, 6, 30), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kCyan);
    p.drawPath(diamond);
}

void drawMenuBackdrop(QPainter& p, const QRectF& all) {
    QLinearGradient sea(all.topLeft(), all.bottomRight());
    sea.setColorAt(0, QColor(22, 32, 72));
    sea.setColorAt(1, QColor(14, 20, 48));
    p.fillRect(all, sea);
    p.setPen(QPen(QColor(70, 90, 150, 60), 1.0, Qt::DotLine));
    for (int x = 35; x < all.width(); x += 70)
        p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, all.height()));
    for (int y = 40; y < all.height(); y += 70)
        p.drawLine(QPointF(0, y + 0.5), QPointF(all.width(), y + 0.5));

    drawLand(p, smoothClosed({{-40, 120},
                              {40, 96},
                              {92, 130},
                              {118, 200},
                              {96, 262},
                              {140, 330},
                              {120, 440},
                              {-40, 440}}));
    drawLand(
        p, smoothClosed(
               {{300, -40}, {330, 30}, {392, 58}, {420, 120}, {470, 150}, {530, 120}, {530, -40}}));
    drawLand(p, smoothClosed({{392, 262}, {430, 236}, {462, 268}, {446, 312}, {404, 306}}));
    drawLand(p, smoothClosed({{200, 36}, {222, 26}, {234, 44}, {214, 56}}));
    // A lake inland on the western shore.
    p.setBrush(QColor(22, 34, 76));
    p.setPen(QPen(QColor(130, 200, 225), 1.0));
    p.drawPath(smoothClosed({{40, 200}, {62, 190}, {70, 214}, {48, 224}}));
}

void drawRangeRings(QPainter& p, QPointF own) {
    p.setBrush(Qt::NoBrush);
    const std::array<std::pair<qreal, const char*>, 3> rings = {
        {{80, "5"}, {160, "10"}, {240, "20"}}};
    for (const auto& [radius, label] : rings) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 215, 255, 90), 1.0, Qt::DashLine));
        p.drawEllipse(own, radius, radius);
        // The outer ring carries the compass numbers, so only the inner ones get a range.
        if (radius < 200)
            drawMapLabel(p, label, polar(own, radius, 300) + QPointF(-14, -3), kTextDim, 10);
    }
    // Compass ticks on the outer ring.
    const qreal outer = 240;
    for (int deg = 0; deg < 360; deg += 5) {
        const qreal len = deg % 30 == 0 ? 10 : (deg % 10 == 0 ? 6 : 3);
        p.setPen(QPen(QColor(220, 230, 255, deg % 30 == 0 ? 220 : 130), deg % 30 == 0 ? 1.6 : 1.0));
        p.drawLine(polar(own, outer, deg), polar(own, outer - len, deg));
    }
    const QFont font = uiFont(11);
    for (int deg = -60; deg <= 60; deg += 30) {
        const int shown = (deg + 360) % 360;
        const QString text = shown == 0 ? QStringLiteral("N") : QString::number(shown / 10);
        p.setPen(Qt::NoPen);
        p.setBrush(shown == 0 ? kAmber : kTextLight);
        p.drawPath(centredText(text, font, polar(own, outer - 20, deg)));
    }
}

void drawRoute(QPainter& p, QPointF own) {
    const std::vector<QPointF> flown = {{180, 420}, {214, 360}, own};
    const std::vector<QPointF> ahead = {own, kMenuNextWaypoint, {336, 140}, {300, 70}, {350, -20}};
    const auto polyline = [](const std::vector<QPointF>& pts) {
        QPainterPath path(pts.front());
        for (std::size_t i = 1; i < pts.size(); ++i)
            path.lineTo(pts[i]);
        return path;
    };
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kMagenta, 60), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(polyline(ahead));
    p.setPen(QPen(kMagenta, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(polyline(ahead));
    p.setPen(QPen(withAlpha(kMagenta, 150), 2, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(polyline(flown));

    drawMenuWaypoint(p, {214, 360});
    drawMenuWaypoint(p, kMenuNextWaypoint);
    drawMenuWaypoint(p, {336, 140});
    drawMenuWaypoint(p, {300, 70});
    drawMapLabel(p, "ORVEL", {224, 366}, kTextLight, 11);
    drawMapLabel(p, "TASKA", {312, 224}, kTextLight, 11);
    drawMapLabel(p, "BRISO", {348, 146}, kTextLight, 11);
    drawMapLabel(p, "KELMA", {312, 76}, kTextLight, 11);
}

QImage mapMenu() {
    QImage image(490, 400, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QRectF all(0, 0, 490, 400);
    const QPointF own(245, 300);
    drawMenuBackdrop(p, all);
    drawRangeRings(p, own);

    drawAirportSymbol(p, {70, 300}, 1.0, -30);
    drawMapLabel(p, "VSKY", {80, 322}, QColor(150, 210, 255), 11);
    drawAirportSymbol(p, {438, 100}, 1.0, 20);
    drawMapLabel(p, "VTRL", {412, 126}, QColor(150, 210, 255), 11);
    drawAirportSymbol(p, {426, 282}, 1.0, 70);
    drawMapLabel(p, "VNOR", {402, 330}, QColor(150, 210, 255), 11);

    drawRoute(p, own);

    // Own aircraft flying the active leg.
    p.translate(own);
    drawAircraft(p, 1.25, bearing(own, kMenuNextWaypoint), 1.8);
    p.resetTransform();

    // Data boxes in the corners, as the live map shows them.
    const auto box = [&](const QRectF& r, const QString& a, const QString& b) {
        p.setPen(QPen(withAlpha(kEdgeLight, 160), 1.0));
        p.setBrush(QColor(8, 12, 30, 210));
        p.drawPath(roundedRect(r, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(kTextDim);
        p.drawPath(textAt(a, uiFont(9), r.topLeft() + QPointF(8, 14)));
        p.setBrush(kTextLight);
        p.drawPath(textAt(b, uiFont(13), r.topLeft() + QPointF(8, 31)));
    };
    box(QRectF(10, 10, 78, 40), "GS KT", "142");
    box(QRectF(402, 350, 78, 40), "ALT FT", "4500");

    p.setPen(QPen(QColor(150, 170, 230), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    return image;
}

// ---------------------------------------------------------------- output

struct Picture {
    QString name;
    std::function<QImage()> draw;
};

bool write(const QDir& dir, const Picture& picture) {
    const QImage image = picture.draw();
    const QString path = dir.filePath(picture.name);
    const bool jpeg = picture.name.endsWith(".jpg");
    const QImage out = jpeg ? image.convertToFormat(QImage::Format_RGB32)
                            : image.convertToFormat(QImage::Format_ARGB32);
    if (out.save(path, jpeg ? "JPEG" : "PNG", jpeg ? 92 : -1))
        return true;
    QTextStream(stderr) << "artgen: cannot write " << path << '\n';
    return false;
}

std::vector<Picture> allPictures() {
    const QImage base = skinBase();
    std::vector<Picture> pictures = {
        {"skin.jpg", [base] { return skin(base); }},
        {"topmost_on.png", [base] { return topmostSwitch(base, false); }},
        {"topmost_off.png", [base] { return topmostSwitch(base, true); }},
        {"mapmenu.png", mapMenu},
        {"button.png", [] { return menuButton(105, 50, 10); }},
        {"button_small.png", [] { return menuButton(70, 35, 8); }},
        {"notice.png", notice},
        {"splash.png", splash},
        {"reload_yes.png", reloadYes},
        {"reload_no.png", reloadNo},
        {"question.png", question},
        {"loading.png", loading},
        {"disconnected.png", disconnected},
        {"app_icon.png", appIcon},
        {"airport.png", airport},
        {"waypnt.png", waypoint},
    };
    for (int heading = 0; heading < 360; heading += 10)
        pictures.push_back(
            {QStringLiteral("plane%1.png").arg(heading), [heading] { return plane(heading); }});
    return pictures;
}

} // namespace

int main(int argc, char** argv) {
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: artgen <output folder>\n";
        return 2;
    }
    const QDir dir(args.at(1));
    if (!QDir().mkpath(dir.absolutePath())) {
        QTextStream(stderr) << "artgen: cannot create " << dir.absolutePath() << '\n';
        return 1;
    }
    bool ok = true;
    for (const Picture& picture : allPictures())
        ok = write(dir, picture) && ok;
    return ok ? 0 : 1;
}
