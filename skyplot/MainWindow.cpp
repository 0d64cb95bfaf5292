#include "skyplot/MainWindow.h"

#include "platform/Browser.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/Ticks.h"
#include "platform/X11Input.h"
#include "shared/Housekeeping.h"
#include "shared/MapPage.h"
#include "skyplot/AircraftMarker.h"
#include "skyplot/Settings.h"
#include "skyplot/SkinWidgets.h"
#include "skyplot/globals.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QWindow>
#include <clocale>
#include <stdexcept>

namespace vtl::skyplot {

namespace {

const QRect kMapArea(56, 62, 490, 635);
const QSize kSkinSize(600, 755);
constexpr int kToolBarHeight = 90;
constexpr std::uint16_t kKeyZ = 0x5A;

const QStringList kMapTypeItems = {QStringLiteral("TERRAIN"), QStringLiteral("ROADS"),
                                   QStringLiteral("SATELLITE"), QStringLiteral("HYBRID")};
const QStringList kMapTypeScripts = {
    QStringLiteral("map.setMapTypeId(google.maps.MapTypeId.TERRAIN)"),
    QStringLiteral("map.setMapTypeId(google.maps.MapTypeId.ROADMAP)"),
    QStringLiteral("map.setMapTypeId(google.maps.MapTypeId.SATELLITE)"),
    QStringLiteral("map.setMapTypeId(google.maps.MapTypeId.HYBRID)")};

// Plug-in files under the X-Plane folder: the Windows names first, then the Linux builds.
const QStringList kPluginFiles = {QStringLiteral("/Resources/plugins/vantrellevars.xpl"),
                                  QStringLiteral("/Resources/plugins/VantrelleVARS/win.xpl"),
                                  QStringLiteral("/Resources/plugins/VantrelleVARS/32/win.xpl"),
                                  QStringLiteral("/Resources/plugins/VantrelleVARS/64/win.xpl"),
                                  QStringLiteral("/Resources/plugins/VantrelleVARS/lin.xpl"),
                                  QStringLiteral("/Resources/plugins/VantrelleVARS/32/lin.xpl"),
                                  QStringLiteral("/Resources/plugins/VantrelleVARS/64/lin.xpl")};

QString messageBoxFolderText(const QString& folder) {
    return QStringLiteral("Vantrelle Skyplot cannot find your \"FMS Plans\" folder here:\r\n\r\n") +
           folder + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Make sure you are running Skyplot from the [X-Plane]/Norvane folder!");
}

} // namespace

TfrmMain_Skyplot::TfrmMain_Skyplot(Options options, QWidget* parent)
    : QWidget(parent), m_options(std::move(options)), m_registry(m_options.registryFile) {
    setWindowTitle(kAppTitle);
    setAccessibleName(kAppTitle);

    // The single-instance block comes first: a later copy must not take over the
    // window's place on the bus or its hot key.
    m_instanceBlock = std::make_unique<platform::NamedInstanceBlock>(m_options.instanceBlockName);
    switch (m_instanceBlock->state()) {
    case platform::NamedInstanceBlock::State::Failed:
        throw std::runtime_error("Failed to initialize ElOneInstance object");
    case platform::NamedInstanceBlock::State::AlreadyExists:
        m_secondCopy = true;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        break;
    case platform::NamedInstanceBlock::State::Created:
        break;
    }

    buildComponents();
    CreateParams();
    if (!m_secondCopy) {
        hkShowHide = new platform::GlobalHotKey(
            kKeyZ, platform::Modifier::Ctrl | platform::Modifier::Shift, this);
        connect(hkShowHide, &platform::GlobalHotKey::pressed, this,
                &TfrmMain_Skyplot::hkShowHidePress);
    }
    FormCreate();
}

TfrmMain_Skyplot::~TfrmMain_Skyplot() = default;

platform::WindowHandle TfrmMain_Skyplot::windowHandle32() const {
    return m_busWindow ? m_busWindow->handle() : 0;
}

QString TfrmMain_Skyplot::windowClassName() const {
    return m_popupMode ? kPopupWindowClass : kMainWindowClass;
}

bool TfrmMain_Skyplot::isTrackingOn() const {
    return timSkyplot->isActive();
}

// ---------------------------------------------------------------- creation

void TfrmMain_Skyplot::CreateParams() {
    XPlaneWindow = platform::findWindow(kSimulatorWindowClass);
    AppFolder = folderOf(m_options.executablePath);
    SettingsFile = AppFolder + kSettingsFileName;

    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    m_popupMode =
        XPlaneWindow != 0 && ReadSettingInteger(SettingsFile, QStringLiteral("AppControl"),
                                                QStringLiteral("PopupWnd"), 0) == 1;
    if (m_popupMode) {
        // Kept above the simulator's window rather than beside it.
        flags |= Qt::Tool;
    }
    setWindowFlags(flags);
    platform::setWindowClass(this, windowClassName());
    if (!m_secondCopy) {
        m_busWindow = std::make_unique<platform::BusWindow>(windowClassName(), kAppTitle);
        m_busWindow->setHandler(
            [this](const platform::BusMessage& message) { return onBusMessage(message); });
    }
}

void TfrmMain_Skyplot::FormCreate() {
    const QString ownName = QFileInfo(m_options.executablePath).fileName();
    for (const QString& name :
         {ownName, QStringLiteral("VantrelleSkyplot.exe"), QStringLiteral("Norvale.exe"),
          QStringLiteral("Norvick.exe"), QStringLiteral("Norvane.exe")}) {
        SetBrowserEmulation(m_registry, 3, name);
    }
    pnlMapMenu->show();

    // Every number conversion uses "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    const QSize skin = imgSurround->pixmap().isNull() ? kSkinSize : imgSurround->pixmap().size();
    imgSurround->setGeometry(QRect(QPoint(0, 0), skin));
    setFixedSize(skin);
    pnlMapMenu->move(kMapArea.topLeft());

    AircraftLat = 0;
    AircraftLon = 0;
    AircraftHeading = 0;

    AppFolder = folderOf(m_options.executablePath);
    SettingsFile = AppFolder + kSettingsFileName;
    const AppliedSettings settings = readAppliedSettings(SettingsFile, AppFolder);
    timMemTrim->setInterval(settings.memTrimIntervalMs);
    // An interval of 0 means a timer that never fires.
    if (settings.memTrimEnabled && settings.memTrimIntervalMs > 0) {
        timMemTrim->start();
    } else {
        timMemTrim->stop();
    }
    MemLimitMB = settings.memLimitMB;
    ChartFolder = settings.chartFolder;

    AssetBaseUrl = GetAssetBaseUrl(AppFolder);
    MapTypeIndex = 0;

    const QString plansFolder = GetFmsPlansFolder();
    if (!QFileInfo(plansFolder).isDir()) {
        platform::showMessageBox({platform::MessageIcon::Information, platform::MessageButtons::Ok,
                                  kAppTitle, messageBoxFolderText(plansFolder), true});
    }
}

void TfrmMain_Skyplot::buildComponents() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    setFont(font);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kPanelColour);
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);

    imgSurround = new QLabel(this);
    imgSurround->setObjectName(QStringLiteral("imgSurround"));
    imgSurround->setPixmap(artPixmap(QStringLiteral("skin.jpg"), kSkinSize));
    imgSurround->setGeometry(QRect(QPoint(0, 0), imgSurround->pixmap().size()));
    imgSurround->installEventFilter(this);

    auto* close = new ClickableImage(this, QStringLiteral("imgClose"), QRect(80, 724, 45, 22));
    close->setAccessibleName(QStringLiteral("Close"));
    connect(close, &ClickableImage::clicked, this, &TfrmMain_Skyplot::imgCloseClick);
    imgClose = close;

    auto* topOn = new ClickableImage(this, QStringLiteral("imgTopMostOn"), QRect(475, 724, 45, 22),
                                     artPixmap(QStringLiteral("topmost_on.png")));
    topOn->setAccessibleName(QStringLiteral("Stay on top"));
    connect(topOn, &ClickableImage::clicked, this, &TfrmMain_Skyplot::imgTopMostOnClick);
    imgTopMostOn = topOn;
    auto* topOff =
        new ClickableImage(this, QStringLiteral("imgTopMostOff"), QRect(475, 724, 45, 22),
                           artPixmap(QStringLiteral("topmost_off.png")));
    topOff->setAccessibleName(QStringLiteral("Do not stay on top"));
    connect(topOff, &ClickableImage::clicked, this, &TfrmMain_Skyplot::imgTopMostOffClick);
    imgTopMostOff = topOff;
    imgTopMostOn->hide();

    buildMapPanel();
    buildMapMenu();
    buildNoticePanel();

    timMemTrim = new QTimer(this);
    timMemTrim->setObjectName(QStringLiteral("timMemTrim"));
    timMemTrim->setInterval(5000);
    connect(timMemTrim, &QTimer::timeout, this, &TfrmMain_Skyplot::timMemTrimTimer);
    timSkyplot = new QTimer(this);
    timSkyplot->setObjectName(QStringLiteral("timSkyplot"));
    timSkyplot->setInterval(1000);
    connect(timSkyplot, &QTimer::timeout, this, &TfrmMain_Skyplot::timSkyplotTimer);
}

void TfrmMain_Skyplot::buildMapMenu() {
    pnlMapMenu = makePanel(this, QStringLiteral("pnlMapMenu"), kMapArea);
    auto* heading =
        new QLabel(QStringLiteral("\r\nMAP MENU").remove(QLatin1Char('\r')), pnlMapMenu);
    heading->setObjectName(QStringLiteral("lbMapMenuHdg"));
    heading->setAccessibleName(QStringLiteral("MAP MENU"));
    heading->setGeometry(0, 0, kMapArea.width(), 55);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    heading->setStyleSheet(QStringLiteral(
        "background-color: rgb(131, 135, 150); color: white; font-weight: bold; font-size: 16px;"));

    auto* picture = new QLabel(pnlMapMenu);
    picture->setObjectName(QStringLiteral("imgMapMenuSplash"));
    picture->setGeometry(0, 53, 490, 400);
    picture->setScaledContents(true);
    picture->setPixmap(artPixmap(QStringLiteral("mapmenu.png"), QSize(490, 400)));

    btnVectorMap =
        makeGraphicButton(pnlMapMenu, QStringLiteral("btnVectorMap"), QStringLiteral("VECTOR"),
                          QRect(137, 489, 105, 50), QStringLiteral("button.png"));
    connect(btnVectorMap, &QPushButton::clicked, this, &TfrmMain_Skyplot::btnVectorMapClick);
    btnSkyplot =
        makeGraphicButton(pnlMapMenu, QStringLiteral("btnSkyplot"), QStringLiteral("SKYPLOT"),
                          QRect(248, 489, 105, 50), QStringLiteral("button.png"));
    connect(btnSkyplot, &QPushButton::clicked, this, &TfrmMain_Skyplot::btnSkyplotClick);
}

void TfrmMain_Skyplot::buildMapPanel() {
    pnlSkyplot = makePanel(this, QStringLiteral("pnlSkyplot"), kMapArea);
    pnlSkyplot->hide();

    brwSkyplot = m_options.createBrowser(pnlSkyplot);
    if (brwSkyplot->parent() == nullptr) {
        brwSkyplot->setParent(this); // goes after the panel that holds its view
    }
    brwSkyplot->setObjectName(QStringLiteral("brwSkyplot"));
    brwSkyplot->widget()->setObjectName(QStringLiteral("brwSkyplot"));
    brwSkyplot->widget()->setGeometry(0, 0, kMapArea.width(), kMapArea.height() - kToolBarHeight);
    connect(brwSkyplot, &platform::Browser::downloadBegin, this,
            &TfrmMain_Skyplot::brwSkyplotDownloadBegin);
    connect(brwSkyplot, &platform::Browser::downloadComplete, this,
            &TfrmMain_Skyplot::brwSkyplotDownloadComplete);
    connect(brwSkyplot, &platform::Browser::refreshRequest, this,
            &TfrmMain_Skyplot::brwSkyplotRefresh);
    m_registry = platform::Registry(m_options.registryFile, brwSkyplot->cacheFolder());
    m_aircraft = std::make_unique<AircraftMarker>(*brwSkyplot, [this] { return isMapReady(); });

    pnlSkyplotTools =
        makePanel(pnlSkyplot, QStringLiteral("pnlSkyplotTools"),
                  QRect(0, kMapArea.height() - kToolBarHeight, kMapArea.width(), kToolBarHeight));
    buildToolBar(pnlSkyplotTools);

    seZoom = new QSpinBox(pnlSkyplot);
    seZoom->setObjectName(QStringLiteral("seZoom"));
    seZoom->setRange(1, 20);
    seZoom->setValue(2);
    seZoom->setGeometry(0, 0, 44, 24);
    // Never shown, so no user changes it: seZoomChange is only ever called directly.
    seZoom->hide();

    buildStatusPanels();
}

void TfrmMain_Skyplot::buildToolBar(QWidget* tools) {
    auto* group = new QWidget(tools);
    group->setObjectName(QStringLiteral("rgMapType"));
    group->setGeometry(10, 4, 236, 84);
    rgMapType = new QButtonGroup(group);
    for (int i = 0; i < kMapTypeItems.size(); ++i) {
        auto* item = new QRadioButton(kMapTypeItems[i], group);
        item->setObjectName(QStringLiteral("rgMapType_%1").arg(kMapTypeItems[i]));
        item->setAccessibleName(kMapTypeItems[i]);
        item->setStyleSheet(QStringLiteral(
            "QRadioButton { color: white; font-weight: bold; }"
            "QRadioButton::indicator { width: 10px; height: 10px; border-radius: 7px;"
            " border: 2px solid white; background: transparent; }"
            "QRadioButton::indicator:checked { background: #ffc838; }"));
        item->setFocusPolicy(Qt::NoFocus);
        item->setCursor(Qt::PointingHandCursor);
        item->setGeometry(8 + (i % 2) * 116, 12 + (i / 2) * 34, 110, 26);
        rgMapType->addButton(item, i);
    }
    rgMapType->button(0)->setChecked(true);
    // Clicks only: selecting an item from code raises nothing.
    connect(rgMapType, &QButtonGroup::idClicked, this, &TfrmMain_Skyplot::rgMapTypeClick);

    btnConnectSkyplot =
        makeGraphicButton(tools, QStringLiteral("btnConnectSkyplot"), QStringLiteral("- DISC"),
                          QRect(255, 8, 70, 35), QStringLiteral("button_small.png"));
    connect(btnConnectSkyplot, &QPushButton::clicked, this,
            &TfrmMain_Skyplot::btnConnectSkyplotClick);
    btnToggleTGlobe =
        makeGraphicButton(tools, QStringLiteral("btnToggleTGlobe"), QStringLiteral("VECTOR"),
                          QRect(255, 47, 70, 35), QStringLiteral("button_small.png"));
    connect(btnToggleTGlobe, &QPushButton::clicked, this, &TfrmMain_Skyplot::btnToggleTGlobeClick);

    auto* zoomIn = makeGraphicButton(tools, QStringLiteral("btnSkyplotZoomIn"), QStringLiteral("+"),
                                     QRect(405, 8, 70, 35), QStringLiteral("button_small.png"));
    zoomIn->setAccessibleName(QStringLiteral("Zoom in"));
    connect(zoomIn, &QPushButton::clicked, this, &TfrmMain_Skyplot::btnSkyplotZoomInClick);
    auto* zoomOut =
        makeGraphicButton(tools, QStringLiteral("btnSkyplotZoomOut"), QStringLiteral("-"),
                          QRect(405, 47, 70, 35), QStringLiteral("button_small.png"));
    zoomOut->setAccessibleName(QStringLiteral("Zoom out"));
    connect(zoomOut, &QPushButton::clicked, this, &TfrmMain_Skyplot::btnSkyplotZoomOutClick);
}

void TfrmMain_Skyplot::buildStatusPanels() {
    const int width = kMapArea.width();
    pnlLoadingSkyplot = makePanel(pnlSkyplot, QStringLiteral("pnlLoadingSkyplot"),
                                  QRect(0, 0, width, 33), QColor(131, 135, 150));
    auto* loadingIcon = new QLabel(pnlLoadingSkyplot);
    loadingIcon->setGeometry(10, 8, 16, 16);
    loadingIcon->setPixmap(artPixmap(QStringLiteral("loading.png")));
    makeLabel(pnlLoadingSkyplot, QStringLiteral("lbLoadingSkyplot"),
              QStringLiteral("Loading Google Map Data..."), QPoint(34, 8), 13, true);

    const int footOfBrowser = kMapArea.height() - kToolBarHeight - 33;
    pnlSkyplotDisc = makePanel(pnlSkyplot, QStringLiteral("pnlSkyplotDisc"),
                               QRect(0, footOfBrowser, width, 33), QColor(255, 51, 51));
    auto* discIcon = new QLabel(pnlSkyplotDisc);
    discIcon->setGeometry(10, 8, 16, 16);
    discIcon->setPixmap(artPixmap(QStringLiteral("disconnected.png")));
    makeLabel(pnlSkyplotDisc, QStringLiteral("lbSkyplotDisc"),
              QStringLiteral("Google Map Disconnected..."), QPoint(34, 8), 13, true);

    pnlReloadSkyplot = makePanel(pnlSkyplot, QStringLiteral("pnlReloadSkyplot"),
                                 QRect(97, 241, 297, 63), kPanelColour, 2);
    auto* question = new QLabel(pnlReloadSkyplot);
    question->setGeometry(10, 16, 32, 32);
    question->setPixmap(artPixmap(QStringLiteral("question.png")));
    makeLabel(pnlReloadSkyplot, QStringLiteral("lbReloadSkyplot"),
              QStringLiteral("Fully Reload SKYPLOT?"), QPoint(48, 23), 13, true);
    auto* yes =
        new ClickableImage(pnlReloadSkyplot, QStringLiteral("imgReloadSkyplotYes"),
                           QRect(226, 18, 28, 28), artPixmap(QStringLiteral("reload_yes.png")));
    yes->setAccessibleName(QStringLiteral("Yes"));
    connect(yes, &ClickableImage::clicked, this, &TfrmMain_Skyplot::imgReloadSkyplotYesClick);
    auto* no =
        new ClickableImage(pnlReloadSkyplot, QStringLiteral("imgReloadSkyplotNo"),
                           QRect(259, 18, 28, 28), artPixmap(QStringLiteral("reload_no.png")));
    no->setAccessibleName(QStringLiteral("No"));
    connect(no, &ClickableImage::clicked, this, &TfrmMain_Skyplot::imgReloadSkyplotNoClick);

    pnlSkyplotBusy = makePanel(pnlSkyplot, QStringLiteral("pnlSkyplotBusy"),
                               QRect(97, 241, 297, 63), kPanelColour, 2);
    makeLabel(pnlSkyplotBusy, QStringLiteral("lbSkyplotBusy"),
              QStringLiteral("SKYPLOT busy, please wait..."), QPoint(40, 23), 13, true);

    for (QWidget* panel : {pnlLoadingSkyplot, pnlSkyplotDisc, pnlReloadSkyplot, pnlSkyplotBusy}) {
        panel->hide();
        panel->raise();
    }
}

void TfrmMain_Skyplot::buildNoticePanel() {
    pnlNorvaneOnly = makePanel(this, QStringLiteral("pnlNorvaneOnly"), QRect(153, 303, 297, 63),
                               kPanelColour, 2);
    auto* icon = new QLabel(pnlNorvaneOnly);
    icon->setObjectName(QStringLiteral("imgNorvaneOnly"));
    icon->setGeometry(28, 16, 32, 32);
    icon->setPixmap(artPixmap(QStringLiteral("notice.png")));
    lbNorvaneOnly =
        makeLabel(pnlNorvaneOnly, QStringLiteral("lbNorvaneOnly"),
                  QStringLiteral("Only available within Norvane..."), QPoint(72, 25), 13, true);
    pnlNorvaneOnly->hide();
    pnlNorvaneOnly->raise();
}

// ---------------------------------------------------------------- shell

void TfrmMain_Skyplot::ShowNotice(const QString& text, int seconds) {
    lbNorvaneOnly->setText(text);
    lbNorvaneOnly->setAccessibleName(text);
    lbNorvaneOnly->adjustSize();
    pnlNorvaneOnly->raise();
    pnlNorvaneOnly->show();
    if (seconds != 0) {
        platform::Pause(static_cast<std::uint32_t>(seconds) * 1000U);
        pnlNorvaneOnly->hide();
    }
}

bool TfrmMain_Skyplot::eventFilter(QObject* watched, QEvent* event) {
    if (watched != imgSurround) {
        return QWidget::eventFilter(watched, event);
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            // The window manager drags the window as if by a title bar; without
            // one that supports it, the window follows the mouse itself.
            const bool systemMove = windowHandle() != nullptr && windowHandle()->startSystemMove();
            m_manualDrag = !systemMove;
            m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        }
        return true;
    case QEvent::MouseMove:
        if (m_manualDrag && (mouse->buttons() & Qt::LeftButton)) {
            move(mouse->globalPosition().toPoint() - m_dragOffset);
        }
        return true;
    case QEvent::MouseButtonRelease:
        m_manualDrag = false;
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void TfrmMain_Skyplot::imgCloseClick() {
    IsConnected = false;
    ShowNotice(QStringLiteral("Shutting Down SKYPLOT..."), 2);
    close();
}

void TfrmMain_Skyplot::setStayOnTop(bool on) {
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing the flags re-creates the native window, hidden and without its class.
    platform::setWindowClass(this, windowClassName());
    if (wasVisible) {
        show();
    }
}

void TfrmMain_Skyplot::imgTopMostOnClick() {
    setStayOnTop(true);
    imgTopMostOn->hide();
    imgTopMostOff->show();
    ShowNotice(QStringLiteral("Stay On Top Enabled..."), 2);
}

void TfrmMain_Skyplot::imgTopMostOffClick() {
    setStayOnTop(false);
    imgTopMostOff->hide();
    imgTopMostOn->show();
    ShowNotice(QStringLiteral("Stay On Top Disabled..."), 2);
}

void TfrmMain_Skyplot::hkShowHidePress() {
    setVisible(!isVisible());
}

void TfrmMain_Skyplot::btnVectorMapClick() {
    ShowNotice(QStringLiteral("Only available within Norvane..."), 2);
    ShowNotice(QStringLiteral("Get Free Demo from Vantrelle..."), 2);
}

void TfrmMain_Skyplot::btnToggleTGlobeClick() {
    btnVectorMapClick();
}

void TfrmMain_Skyplot::timMemTrimTimer() {
    TrimWorkingSet(MemLimitMB);
}

// ---------------------------------------------------------------- map page

void TfrmMain_Skyplot::ShowMapPanel(QWidget* panel) {
    if (panel->isVisibleTo(this)) {
        return;
    }
    pnlMapMenu->hide();
    pnlSkyplot->hide();
    panel->setGeometry(kMapArea);
    panel->show();
    pnlNorvaneOnly->raise();
}

void TfrmMain_Skyplot::brwSkyplotDownloadBegin() {
    pnlLoadingSkyplot->raise();
    pnlLoadingSkyplot->show();
}

void TfrmMain_Skyplot::brwSkyplotDownloadComplete() {
    DeleteCachedPageScripts(m_registry);
    platform::Pause(1000);
    pnlLoadingSkyplot->hide();
}

void TfrmMain_Skyplot::brwSkyplotRefresh() {
    pnlReloadSkyplot->raise();
    pnlReloadSkyplot->show();
}

void TfrmMain_Skyplot::imgReloadSkyplotYesClick() {
    pnlReloadSkyplot->hide();
    rgMapType->button(0)->setChecked(true);
    seZoom->setValue(2);
    brwSkyplot->Navigate(GetMapPageUrl(AppFolder));
}

void TfrmMain_Skyplot::imgReloadSkyplotNoClick() {
    pnlReloadSkyplot->hide();
}

// ---------------------------------------------------------------- map controls

void TfrmMain_Skyplot::rgMapTypeClick(int index) {
    if (brwSkyplot->Busy()) {
        if (auto* previous = rgMapType->button(MapTypeIndex)) {
            previous->setChecked(true);
        }
        return;
    }
    if (index < 0 || index >= kMapTypeScripts.size()) {
        return;
    }
    brwSkyplot->ExecScript(kMapTypeScripts[index]);
    MapTypeIndex = index;
}

void TfrmMain_Skyplot::seZoomChange() {
    brwSkyplot->ExecScript(QStringLiteral("map.setZoom(%1)").arg(seZoom->value()));
}

void TfrmMain_Skyplot::btnSkyplotZoomInClick() {
    if (brwSkyplot->Busy()) {
        return;
    }
    seZoom->setValue(seZoom->value() + 1);
    brwSkyplot->ExecScript(QStringLiteral("zoomIn()"));
}

void TfrmMain_Skyplot::btnSkyplotZoomOutClick() {
    if (brwSkyplot->Busy()) {
        return;
    }
    seZoom->setValue(seZoom->value() - 1);
    brwSkyplot->ExecScript(QStringLiteral("zoomOut()"));
}

// ---------------------------------------------------------------- simulator link

bool TfrmMain_Skyplot::IsXPlaneRunning() const {
    return platform::findWindow(kSimulatorWindowClass) != 0;
}

bool TfrmMain_Skyplot::IsPluginInstalled() const {
    const QString xplane = xplaneFolderOf(m_options.executablePath);
    // The root folder keeps its "/", so don't double it before the plug-in paths.
    const QString base = xplane.endsWith(QLatin1Char('/')) ? xplane.chopped(1) : xplane;
    for (const QString& file : kPluginFiles) {
        if (QFileInfo::exists(base + file)) {
            return true;
        }
    }
    return false;
}

QString TfrmMain_Skyplot::GetFmsPlansFolder() const {
    return fmsPlansFolderOf(m_options.executablePath);
}

bool TfrmMain_Skyplot::isMapReady() const {
    return isVisible() && pnlSkyplot->isVisibleTo(this) && !brwSkyplot->Busy();
}

void TfrmMain_Skyplot::setTracking(bool on) {
    if (on) {
        timSkyplot->start();
    } else {
        timSkyplot->stop();
    }
}

void TfrmMain_Skyplot::btnSkyplotClick() {
    if (m_connecting) {
        return; // the menu stays clickable during the connecting notice
    }
    if (!QFileInfo::exists(AppFolder + QStringLiteral("SimConnect.CFG"))) {
        if (!IsXPlaneRunning()) {
            ShowNotice(QStringLiteral("Please start X-Plane first!"), 2);
            return;
        }
        if (!IsPluginInstalled()) {
            ShowNotice(QStringLiteral("XPL file not found!"), 2);
            ShowNotice(QStringLiteral("Please install it first!"), 2);
            ShowNotice(QStringLiteral("See Skyplot PDF for details."), 2);
            return;
        }
    }
    m_connecting = true;
    ShowNotice(QStringLiteral("Connecting to X-Plane..."), 3);
    QCoreApplication::processEvents();
    ShowMapPanel(pnlSkyplot);

    try {
        brwSkyplot->Navigate(GetMapPageUrl(AppFolder));
        platform::Pause(2000);
        setTracking(true);
        RegisterWindowHandleMsg = platform::registerWindowMessage("REGISTER_WINDOW_HANDLE");
        XPlaneWindow = platform::findWindow(kSimulatorWindowClass);
        if (XPlaneWindow != 0) {
            platform::BusMessage message;
            message.message = RegisterWindowHandleMsg;
            message.wParam = windowHandle32();
            // A registration that gets no answer reaches no plug-in.
            if (!platform::sendMessage(XPlaneWindow, message)) {
                throw std::runtime_error("registration not answered");
            }
        }
        IsConnected = true;
    } catch (const std::exception&) {
        ShowNotice(QStringLiteral("Unable to connect!"), 3);
    }
}

void TfrmMain_Skyplot::btnConnectSkyplotClick() {
    if (brwSkyplot->Busy()) {
        return;
    }
    setTracking(!isTrackingOn());
    if (isTrackingOn()) {
        btnConnectSkyplot->setText(QStringLiteral("- DISC"));
        btnConnectSkyplot->setAccessibleName(QStringLiteral("- DISC"));
        pnlSkyplotDisc->hide();
        IsConnected = true;
    } else {
        btnConnectSkyplot->setText(QStringLiteral("+ CONN"));
        btnConnectSkyplot->setAccessibleName(QStringLiteral("+ CONN"));
        pnlSkyplotDisc->raise();
        pnlSkyplotDisc->show();
        IsConnected = false;
        m_aircraft->RemoveAircraftMarker();
    }
}

std::int64_t TfrmMain_Skyplot::WMCopyData(std::uint64_t dwData, const QByteArray& data) {
    if (!IsConnected || dwData != 1) {
        return 0;
    }
    // A short record is dropped whole rather than read past its end.
    const auto record = TAircraftData::fromBytes(data);
    if (!record) {
        return 0;
    }
    AircraftData = *record;
    m_aircraft->UpdateAircraft();
    return 0;
}

std::int64_t TfrmMain_Skyplot::onBusMessage(const platform::BusMessage& message) {
    if (message.message == platform::WM_COPYDATA) {
        return WMCopyData(message.dwData, message.data);
    }
    return 0;
}

} // namespace vtl::skyplot
