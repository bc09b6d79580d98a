#include "VeltraHost.h"

#include "assay/VeltraFile4.h"
#include "hostapp/AssayPickerDlg.h"
#include "hostapp/ChromatogramWindow.h"
#include "hostapp/MainWindow.h"
#include "hostcore/PluginSession.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Utf.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <cstdio>

namespace {

constexpr char16_t kCaption[] = u"Veltra";

void Show(const QString& text, unsigned icon) {
    ShowMessageBox(nullptr, text.toStdU16String(), kCaption, MB_OK | icon);
}

std::u16string ProfilePathOf(const HostOptions& options) {
    return (options.profilePath.isEmpty() ? DefaultProfilePath() : options.profilePath).toStdU16String();
}

// A window the plug-in made: owned by the host window, not the host's own, not a menu.
bool IsPluginWindow(const QWidget* w, const QWidget* hostWindow) {
    return w != hostWindow && !w->property("veltraHostWindow").toBool() && !w->inherits("QMenu") &&
           w->parentWidget() && w->parentWidget()->window() == hostWindow;
}

// Windows of the plug-in it did not destroy in Unload: they must go before the module's code is unmapped.
int DeleteLeftWindows(QWidget* hostWindow) {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows << w;
    int left = 0;
    for (const QPointer<QWidget>& w : windows) {
        // Deleting one window may have deleted others of the list already.
        if (w && IsPluginWindow(w, hostWindow)) {
            delete w.data();
            ++left;
        }
    }
    return left;
}

bool PluginWindowShown(const QWidget* hostWindow) {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && IsPluginWindow(w, hostWindow))
            return true;
    return false;
}

} // namespace

QString DefaultPluginPath() {
    const QString folder = QCoreApplication::applicationDirPath();
    const QString installed = folder + QStringLiteral("/../lib/atmocalc/atmocalc.so");
    return QFileInfo::exists(installed) ? QDir::cleanPath(installed)
                                        : folder + QStringLiteral("/atmocalc.so");
}

QString DefaultProfilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/veltra-host/profile.json");
}

QString DefaultPublicDir() {
    return QStringLiteral(ATMOCALC_PUBLIC_DIR);
}

QString DefaultDemoFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/veltra-host/demo");
}

VeltraHost::VeltraHost(const HostOptions& hostOptions, std::function<void(const QString&)> reportLine)
    : options(hostOptions), report(std::move(reportLine)), profile(ProfilePathOf(hostOptions)) {
    if (options.pluginPath.isEmpty())
        options.pluginPath = DefaultPluginPath();
    window = std::make_unique<MainWindow>(bus, plugin, assays);
    context.windows = this;
    context.profile = &profile;
    if (report)
        context.report = [this](const std::u16string& line) { report(QString::fromStdU16String(line)); };
    if (options.script)
        context.scriptedPick = options.pick;
    OfferHostServices(bus, context);
    if (!profile.Warning().empty())
        ShowMessageBox(nullptr, profile.Warning(), kCaption, MB_OK | MB_ICONEXCLAMATION);

    QObject::connect(window.get(), &MainWindow::openDatabaseRequested, [this] { ChooseDatabase(); });
    QObject::connect(window.get(), &MainWindow::refreshRequested, [this] { Refresh(); });
    QObject::connect(window.get(), &MainWindow::demoRequested, [this] { CreateDemoDatabase(); });
    QObject::connect(window.get(), &MainWindow::chromatogramRequested,
                     [this](const QString& file) { OpenChromatogram(context, file.toStdU16String()); });

    QString database = options.databasePath;
    QString why;
    if (!database.isEmpty()) {
        if (!DatabaseFileFound(database.toStdU16String()))
            database.clear();
    } else {
        database = QString::fromStdU16String(profile.GetText(kLastDatabaseKey).value_or(u""));
        if (database.isEmpty()) {
            why = QStringLiteral("База данных хроматограмм ещё не открыта. Откройте базу данных хоста или "
                                 "создайте демонстрационную: в ней есть градуировки и пробы для расчёта.");
        } else if (!QFileInfo(database).isFile()) {
            why = QStringLiteral("База данных, открытая в прошлый раз, не найдена: %1.").arg(database);
            database.clear();
        }
    }
    SetDatabase(database.isEmpty() ? database : QFileInfo(database).absoluteFilePath(), why);
}

VeltraHost::~VeltraHost() {
    Stop();
}

bool VeltraHost::Start() {
    if (started)
        return plugin.IsOpen();
    started = true;
    SetPublicFolder(options.publicDir.toStdU16String(), DefaultPublicDir().toStdU16String());
    return StartPlugin(plugin, options.pluginPath.toStdU16String(), bus, context.report);
}

void VeltraHost::Stop() {
    if (stopped)
        return;
    stopped = true;
    StopPlugin(plugin, context.report, [this] { CloseLeftWindows(); });
}

void VeltraHost::UnloadPlugin() {
    plugin.Unload();
    CloseLeftWindows();
}

void VeltraHost::CloseLeftWindows() {
    // Objects the plug-in released with deleteLater still run its code when deleted.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (const int left = DeleteLeftWindows(window.get()))
        std::fprintf(stderr, "veltra-host: модуль %s оставил после выгрузки окон: %d; хост закрыл их.\n",
                     Utf16ToUtf8(InfoText(plugin.Info()->name)).c_str(), left);
}

bool VeltraHost::OpenDatabase(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile()) {
        Show(QStringLiteral("Файл базы данных не найден: %1. Открытой остаётся прежняя база данных.")
                 .arg(path),
             MB_ICONEXCLAMATION);
        return false;
    }
    if (!MayRestartPlugin())
        return false;
    SetDatabase(file.absoluteFilePath());
    const bool read = assays.Error().isEmpty();
    if (read && !profile.SetText(kLastDatabaseKey, databasePath.toStdU16String()))
        Show(QStringLiteral("Профиль не сохранён: %1.").arg(QString::fromStdU16String(profile.LastError())),
             MB_ICONEXCLAMATION);
    if (started && plugin.IsOpen()) {
        UnloadPlugin();
        plugin.Load(bus.Table());
        bus.Fire("System/ModulesLoaded");
    }
    if (report)
        report(QStringLiteral("Открыта база данных: %1").arg(databasePath));
    return read;
}

bool VeltraHost::MayRestartPlugin() {
    if (!started || !plugin.IsOpen() || !PluginWindowShown(window.get()))
        return true;
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Veltra"),
        QStringLiteral("Открыто окно модуля %1. При смене базы данных модуль перезапускается: его "
                       "окно закроется, и выбранные в нём хроматограммы с результатами расчёта "
                       "не сохранятся. Настройки и справочник компонентов останутся.\n\n"
                       "Сменить базу данных?")
            .arg(QString::fromStdU16String(InfoText(plugin.Info()->name))),
        QMessageBox::Yes | QMessageBox::No, window.get());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Сменить базу данных"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Отмена"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void VeltraHost::Refresh() {
    SetDatabase(databasePath);
}

bool VeltraHost::CreateDemoDatabase() {
    const QString folder = DefaultDemoFolder();
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/atmocalc");
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, {QStringLiteral("demo"), folder});
    const bool finished = process.waitForFinished(60000);
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString why = process.error() == QProcess::FailedToStart
                                ? QStringLiteral("программа %1 не запускается").arg(tool)
                                : QString::fromUtf8(process.readAll()).trimmed();
        process.kill();
        Show(QStringLiteral(
                 "Демонстрационная база не создана в %1: %2. Открытой остаётся прежняя база данных.")
                 .arg(folder, why),
             MB_ICONERROR);
        return false;
    }
    return OpenDatabase(folder + QStringLiteral("/host.db"));
}

void VeltraHost::SetDatabase(const QString& path, const QString& why) {
    databasePath = path;
    context.connectionUri = path.toStdU16String();
    if (path.isEmpty())
        assays.Clear();
    else
        assays.Reload(path);
    window->ShowDatabase(path, why, path.isEmpty());
}

void VeltraHost::ChooseDatabase() {
    const QString start =
        databasePath.isEmpty() ? QDir::homePath() : QFileInfo(databasePath).path();
    const QString path = QFileDialog::getOpenFileName(
        window.get(), QStringLiteral("Открыть базу данных"), start,
        QStringLiteral("Базы данных хоста (*.db *.sqlite *.sqlite3);;Все файлы (*)"));
    if (!path.isEmpty())
        OpenDatabase(path);
}

bool VeltraHost::AddMenuItem(const std::u16string& menuPath, const char* commandName) {
    return window->AddMenuItem(QString::fromStdU16String(menuPath), commandName);
}

bool VeltraHost::OfferedAssays(std::vector<uint32_t>& ids, std::u16string& error) {
    // The picker offers what the database holds now; the catalogue shows the same reread rows.
    const bool read = assays.Reload(databasePath);
    window->ShowDatabase(databasePath);
    error = assays.Error().toStdU16String();
    ids.clear();
    for (int row = 0; row < assays.rowCount(); ++row)
        ids.push_back(assays.IdAt(row));
    return read;
}

std::vector<uint32_t> VeltraHost::AskForAssays(uint32_t capacity) {
    AssayPickerDlg picker(assays, capacity, window.get());
    return picker.exec() == QDialog::Accepted ? picker.SelectedIds() : std::vector<uint32_t>{};
}

void VeltraHost::ShowChromatogram(const std::u16string&, const CVeltraFile4& file) {
    (new ChromatogramWindow(file.passport, file.channels, window.get()))->show();
}
