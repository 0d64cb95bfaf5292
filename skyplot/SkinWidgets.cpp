#include "skyplot/SkinWidgets.h"

#include "platform/ImageDecoders.h"

#include <QFile>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>

namespace vtl::skyplot {

QPixmap artPixmap(const QString& name, QSize fallbackSize) {
    QFile file(QStringLiteral(":/art/") + name);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const auto decoded = name.endsWith(QLatin1String(".jpg")) ? platform::decodeJpeg(bytes)
                                                                  : platform::decodePng(bytes);
        if (decoded.ok()) {
            return QPixmap::fromImage(decoded.image);
        }
    }
    if (fallbackSize.isEmpty()) {
        return {};
    }
    QPixmap empty(fallbackSize);
    empty.fill(kPanelColour);
    return empty;
}

QWidget* makePanel(QWidget* parent, const QString& name, const QRect& geometry,
                   const QColor& colour, int whiteBevel) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->setAttribute(Qt::WA_StyledBackground);
    QString style = QStringLiteral("#%1 { background-color: %2;").arg(name, colour.name());
    if (whiteBevel > 0) {
        style += QStringLiteral(" border: %1px solid white;").arg(whiteBevel);
    }
    panel->setStyleSheet(style + QLatin1Char('}'));
    return panel;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QPoint position,
                  int pixelSize, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAccessibleName(text);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    label->move(position);
    label->adjustSize();
    return label;
}

QPushButton* makeGraphicButton(QWidget* parent, const QString& name, const QString& caption,
                               const QRect& geometry, const QString& background) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(
        QStringLiteral("QPushButton { border-image: url(:/art/%1); color: white; font-size: 13px;"
                       " font-weight: bold; }"
                       "QPushButton:pressed { padding-top: 3px; }")
            .arg(background));
    return button;
}

ClickableImage::ClickableImage(QWidget* parent, const QString& name, const QRect& geometry,
                               const QPixmap& picture)
    : QLabel(parent) {
    setObjectName(name);
    setGeometry(geometry);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    if (!picture.isNull()) {
        setPixmap(picture);
    }
}

void ClickableImage::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace vtl::skyplot
