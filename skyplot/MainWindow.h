#pragma once

// The map program's one window: a borderless skin with the map menu, the map
// panel with its browser and tool bar, and the notice panel.

#include "platform/Registry.h"
#include "platform/WindowBus.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

class QButtonGroup;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;

namespace vtl::platform {
class Browser;
class BusWindow;
class GlobalHotKey;
class NamedInstanceBlock;
} // namespace vtl::platform

namespace vtl::skyplot {

class AircraftMarker;

inline const QString kAppTitle = QStringLiteral("Vantrelle Skyplot");
inline const QString kMainWindowClass = QStringLiteral("TfrmMain_Skyplot");
inline const QString kPopupWindowClass = QStringLiteral("SkyplotX");
inline const QString kSimulatorWindowClass = QStringLiteral("X-System");
inline const QString kInstanceBlockName = QStringLiteral("VtlSkyplot");

class TfrmMain_Skyplot : public QWidget {
    Q_OBJECT
public:
    using BrowserFactory = std::function<platform::Browser*(QWidget* parent)>;
    struct Options {
        BrowserFactory createBrowser;
        QString executablePath; // where the program is installed
        QString registryFile;   // the per-user registry store
        QString instanceBlockName = kInstanceBlockName;
    };

    explicit TfrmMain_Skyplot(Options options, QWidget* parent = nullptr);
    ~TfrmMain_Skyplot() override;

    // True when another copy already runs; this one then quits with its loop.
    bool isSecondCopy() const { return m_secondCopy; }
    bool isPopupMode() const { return m_popupMode; }
    platform::WindowHandle windowHandle32() const;
    QString windowClassName() const;
    platform::Browser& browser() { return *brwSkyplot; }
    bool isTrackingOn() const;

    // Shows Text in the notice panel; with Seconds > 0 waits that long (handling
    // events) and hides the panel again.
    void ShowNotice(const QString& text, int seconds);
    // Brings a panel into the map area; nothing when it is already visible.
    void ShowMapPanel(QWidget* panel);
    bool IsXPlaneRunning() const;
    bool IsPluginInstalled() const;

public slots:
    // Shell.
    void imgCloseClick();
    void imgTopMostOnClick();
    void imgTopMostOffClick();
    void hkShowHidePress();
    void btnVectorMapClick();
    void btnToggleTGlobeClick();
    void timMemTrimTimer();

    // Simulator link.
    void btnSkyplotClick();
    void btnConnectSkyplotClick();
    void timSkyplotTimer() {}
    std::int64_t WMCopyData(std::uint64_t dwData, const QByteArray& data);

    // Map page.
    void brwSkyplotDownloadBegin();
    void brwSkyplotDownloadComplete();
    void brwSkyplotRefresh();
    void imgReloadSkyplotYesClick();
    void imgReloadSkyplotNoClick();

    // Map controls.
    void rgMapTypeClick(int index);
    void seZoomChange();
    void btnSkyplotZoomInClick();
    void btnSkyplotZoomOutClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateParams();
    void FormCreate();
    void buildComponents();
    void buildMapMenu();
    void buildMapPanel();
    void buildToolBar(QWidget* tools);
    void buildStatusPanels();
    void buildNoticePanel();
    void setStayOnTop(bool on);
    void setTracking(bool on);
    bool isMapReady() const;
    // X-Plane's flight plan folder, whether it exists or not.
    QString GetFmsPlansFolder() const;
    std::int64_t onBusMessage(const platform::BusMessage& message);

    Options m_options;
    platform::Registry m_registry;
    std::unique_ptr<platform::NamedInstanceBlock> m_instanceBlock;
    std::unique_ptr<platform::BusWindow> m_busWindow;
    bool m_secondCopy = false;
    bool m_popupMode = false;
    bool m_connecting = false;
    QPoint m_dragOffset;
    bool m_manualDrag = false;

    QLabel* imgSurround = nullptr;
    QLabel* imgClose = nullptr;
    QLabel* imgTopMostOn = nullptr;
    QLabel* imgTopMostOff = nullptr;
    QWidget* pnlSkyplot = nullptr;
    QWidget* pnlMapMenu = nullptr;
    QPushButton* btnVectorMap = nullptr;
    QPushButton* btnSkyplot = nullptr;
    QWidget* pnlNorvaneOnly = nullptr;
    QLabel* lbNorvaneOnly = nullptr;
    platform::GlobalHotKey* hkShowHide = nullptr;
    QTimer* timMemTrim = nullptr;
    QTimer* timSkyplot = nullptr;

    platform::Browser* brwSkyplot = nullptr;
    QWidget* pnlSkyplotTools = nullptr;
    QButtonGroup* rgMapType = nullptr;
    QSpinBox* seZoom = nullptr;
    QPushButton* btnConnectSkyplot = nullptr;
    QPushButton* btnToggleTGlobe = nullptr;
    QWidget* pnlLoadingSkyplot = nullptr;
    QWidget* pnlSkyplotDisc = nullptr;
    QWidget* pnlReloadSkyplot = nullptr;
    QWidget* pnlSkyplotBusy = nullptr;

    std::unique_ptr<AircraftMarker> m_aircraft;
};

} // namespace vtl::skyplot
