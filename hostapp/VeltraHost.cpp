#include "VeltraHost.h"

#include "hostapp/MainWindow.h"
#include "platform/system/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

#include <cstdio>

namespace {

constexpr char16_t kCaption[] = u"Veltra";

void Show(const QString& text, unsigned icon) {
    ShowMessageBox(nullptr, text.toStdU16String(), kCaption, MB_OK | icon);
}

QString ProfilePathOf(const HostOptions& options) {
    return options.profilePath.isEmpty() ? DefaultProfilePath() : options.profilePath;
}

// Windows the plug-in made (owned by the host window, not the host's own, not its menus) and did not
// destroy in Unload: they must go before the module's code is unmapped.
int DeleteLeftWindows(QWidget* hostWindow) {
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows << w;
    int left = 0;
    for (const QPointer<QWidget>& w : windows) {
        // Deleting one window may have deleted others of the list already.
        if (!w || w == hostWindow || w->property("veltraHostWindow").toBool() || w->inherits("QMenu"))
            continue;
        if (w->parentWidget() && w->parentWidget()->window() == hostWindow) {
            delete w.data();
            ++left;
        }
    }
    return left;
}

} // namespace

QString DefaultPluginPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/atmocalc.so");
}

QString DefaultProfilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/veltra-host/profile.json");
}

VeltraHost::VeltraHost(const HostOptions& hostOptions, std::function<void(const QString&)> reportLine)
    : options(hostOptions), report(std::move(reportLine)), profile(ProfilePathOf(hostOptions)) {
    if (options.pluginPath.isEmpty())
        options.pluginPath = DefaultPluginPath();
    window = std::make_unique<MainWindow>(bus, plugin);
    context.window = window.get();
    context.profile = &profile;
    context.report = report;
    if (options.script)
        context.scriptedPick = options.pick;
    if (!options.databasePath.isEmpty()) {
        const QFileInfo database(options.databasePath);
        if (database.isFile()) {
            context.databasePath = database.absoluteFilePath();
            context.connectionUri = context.databasePath.toStdU16String();
        } else {
            Show(QStringLiteral("Файл базы данных не найден: %1. Хост работает без базы данных.")
                     .arg(options.databasePath),
                 MB_ICONEXCLAMATION);
        }
    }
    OfferHostServices(bus, context);
    if (!profile.Warning().isEmpty())
        Show(profile.Warning(), MB_ICONEXCLAMATION);
    UpdateStartText();
}

VeltraHost::~VeltraHost() {
    Stop();
}

bool VeltraHost::Start() {
    if (started)
        return plugin.IsOpen();
    started = true;
    if (!options.publicDir.isEmpty()) {
        const QFileInfo publicDir(options.publicDir);
        if (!publicDir.isDir())
            Show(QStringLiteral("Общая папка не найдена: %1. Переменная PUBLIC всё же задана.")
                     .arg(options.publicDir),
                 MB_ICONEXCLAMATION);
        qputenv("PUBLIC", QFile::encodeName(publicDir.absoluteFilePath()));
    }
    if (plugin.Open(options.pluginPath)) {
        plugin.Load(bus.Table());
        if (report)
            report(
                QStringLiteral("Модуль загружен: %1 %2 (%3)")
                    .arg(InfoText(plugin.Info()->name), VersionText(plugin.Info()->version), plugin.Path()));
    } else {
        Show(plugin.LastError() + QStringLiteral("\nХост работает без этого модуля."), MB_ICONERROR);
    }
    // Every module the host has is loaded now (there is at most one).
    bus.Fire("System/ModulesLoaded");
    UpdateStartText();
    return plugin.IsOpen();
}

void VeltraHost::Stop() {
    if (stopped)
        return;
    stopped = true;
    if (!plugin.IsOpen())
        return;
    const QString name = InfoText(plugin.Info()->name);
    plugin.Unload();
    // Objects the plug-in released with deleteLater still run its code when deleted.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (const int left = DeleteLeftWindows(window.get()))
        std::fprintf(stderr, "veltra-host: модуль %s оставил после выгрузки окон: %d; хост закрыл их.\n",
                     name.toUtf8().constData(), left);
    plugin.Close();
    if (report)
        report(QStringLiteral("Модуль выгружен: %1").arg(name));
}

void VeltraHost::UpdateStartText() {
    QStringList lines;
    lines << QStringLiteral("Хост системы обработки хроматограмм Veltra.") << QString();
    if (const PluginInfo* info = plugin.Info())
        lines << QStringLiteral("Модуль: %1 %2 — %3")
                     .arg(InfoText(info->name), VersionText(info->version), InfoText(info->title));
    else
        lines << QStringLiteral("Модуль не загружен: %1")
                     .arg(started ? plugin.LastError() : options.pluginPath);
    lines << QStringLiteral("База данных: %1")
                 .arg(context.databasePath.isEmpty() ? QStringLiteral("нет") : context.databasePath);
    lines << QStringLiteral("Профиль: %1").arg(profile.Path());
    if (!options.publicDir.isEmpty())
        lines << QStringLiteral("PUBLIC: %1").arg(options.publicDir);
    window->SetStartText(lines.join(u'\n'));
}
