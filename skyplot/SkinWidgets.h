#pragma once

// The building blocks of the skinned window: flat coloured panels, labels,
// picture buttons and clickable images, each named for tests and assistive tools.

#include <QColor>
#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QString>

class QPushButton;

namespace vtl::skyplot {

inline const QColor kPanelColour(56, 75, 139); // the skin's navy

// A picture from the program's built-in art; an empty picture of the given size
// when it is missing, so the window still lays out.
QPixmap artPixmap(const QString& name, QSize fallbackSize = {});

QWidget* makePanel(QWidget* parent, const QString& name, const QRect& geometry,
                   const QColor& colour = kPanelColour, int whiteBevel = 0);
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QPoint position,
                  int pixelSize = 13, bool bold = false);
QPushButton* makeGraphicButton(QWidget* parent, const QString& name, const QString& caption,
                               const QRect& geometry, const QString& background);

// An image that reports a left click, with the hand cursor.
class ClickableImage : public QLabel {
    Q_OBJECT
public:
    ClickableImage(QWidget* parent, const QString& name, const QRect& geometry,
                   const QPixmap& picture = {});

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace vtl::skyplot
