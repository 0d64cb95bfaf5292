#pragma once

// The start-up splash: the artwork with its transparent parts laid over a capture
// of the desktop, so it seems to lie on the desktop, fading in from nothing.

#include <QImage>
#include <QWidget>
#include <functional>

class QLabel;

namespace vtl::skyplot {

class TfrmSplashScreen : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFadeStepMs = 5;
    static constexpr int kActivationPauseMs = 1000;

    explicit TfrmSplashScreen(QWidget* parent = nullptr);

    // 256 steps from opacity 0 to 255, each after a 5 ms sleep; no events are
    // handled in between. The hook sees every value set (for tests).
    void fadeIn(const std::function<void(int)>& onStep = {});

protected:
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void BuildSplashScreen();
    void FormActivate();

    QLabel* imgDeskTop = nullptr;
    QLabel* imgSplashScreen = nullptr;
};

} // namespace vtl::skyplot
