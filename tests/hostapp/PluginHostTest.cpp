// The real plug-in in the real host: dlopen, the C table, the modules-loaded event, its menu item,
// and a host that runs on without it.
#include "hostapp/MainWindow.h"
#include "hostapp/ModulesDlg.h"
#include "hostapp/ReadableText.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

constexpr char kMenuPath[] = "Данные/Расчёты/Тамирель";

// Top-level windows that are neither the host's own nor menus.
int ForeignWindows() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->property("veltraHostWindow").toBool() && !w->inherits("QMenu") && w->isVisible())
            ++count;
    return count;
}

} // namespace

TEST(PluginHost, LoadsThePluginWhoseMenuItemRunsItsCommand) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    VeltraHost host(OptionsIn(folder));
    ASSERT_TRUE(host.Start()) << QString::fromStdU16String(host.Plugin().LastError()).toStdString();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(InfoText(host.Plugin().Info()->name), u"atmocalc");
    EXPECT_TRUE(host.Bus().HasCommand("atmocalc/MenuCommand"));

    QAction* item = host.Window().FindMenuItem(QString::fromUtf8(kMenuPath));
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->menu());
    EXPECT_TRUE(item->isEnabled());
    // The plug-in's menu comes before the host's Help menu.
    const QList<QAction*> bar = host.Window().menuBar()->actions();
    EXPECT_EQ(bar.indexOf(host.Window().FindMenuItem(QStringLiteral("Данные"))),
              bar.indexOf(host.Window().FindMenuItem(QStringLiteral("Справка"))) - 1);

    item->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(boxes.boxes.empty());

    host.Stop();
    EXPECT_FALSE(host.Bus().HasCommand("atmocalc/MenuCommand"));
    EXPECT_FALSE(item->isEnabled());
    EXPECT_EQ(ForeignWindows(), 0);
}

TEST(PluginHost, TableGivesTheDatabaseAsAbsoluteUtf16PathAndPublicIsSet) {
    QTemporaryDir folder;
    HostOptions options = OptionsIn(folder);
    options.publicDir = folder.filePath(QStringLiteral("Общая"));
    QDir().mkpath(options.publicDir);
    VeltraHost host(options);
    host.Start();
    const auto* uri =
        reinterpret_cast<const char16_t*>(host.Bus().Table()->CallService("DB/GetConnectionUri", 0, nullptr));
    ASSERT_NE(uri, nullptr);
    EXPECT_EQ(QString::fromUtf16(uri), QFileInfo(options.databasePath).absoluteFilePath());
    EXPECT_EQ(qEnvironmentVariable("PUBLIC"), options.publicDir);
}

TEST(PluginHost, ModulesWindowShowsTheInformationRecord) {
    QTemporaryDir folder;
    VeltraHost host(OptionsIn(folder));
    host.Start();
    ModulesDlg dialog(host.Plugin(), &host.Window());
    const QStringList text = ReadableText(&dialog);
    for (const QString& expected :
         {QStringLiteral("atmocalc"), QStringLiteral("Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99"),
          QStringLiteral("1.0.2.0"), QStringLiteral("{6D1F3A52-4C8E-4B1A-9E27-510CA43D7B86}"),
          QStringLiteral(ATMOCALC_PLUGIN_PATH)})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
}

TEST(PluginHost, MissingPluginIsReportedAndTheHostRunsOn) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.pluginPath = folder.filePath(QStringLiteral("atmocalc.so"));
    VeltraHost host(options);
    EXPECT_FALSE(host.Start());
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::u16string>{u"Файл модуля не найден: " + options.pluginPath.toStdU16String() +
                                          u"\nХост работает без этого модуля."});
    EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONERROR);

    // The host's own services still answer, and Help → "Модули" tells why there is no module.
    int32_t value = 4;
    EXPECT_EQ(host.Bus().Table()->CallService("Profile/SetInt", reinterpret_cast<intptr_t>(u"k"), &value), 1);
    EXPECT_EQ(host.Window().FindMenuItem(QString::fromUtf8(kMenuPath)), nullptr);
    ModulesDlg dialog(host.Plugin(), &host.Window());
    EXPECT_EQ(ReadableText(&dialog).first(), QStringLiteral("Модуль не загружен."));
    host.Stop();
}

TEST(PluginHost, BrokenPluginFileIsReported) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.pluginPath = folder.filePath(QStringLiteral("broken.so"));
    WriteTestFile(options.pluginPath, "not a shared object");
    VeltraHost host(options);
    EXPECT_FALSE(host.Start());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    const QString text = QString::fromStdU16String(boxes.boxes[0].text);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Модуль %1 не загружается: ").arg(options.pluginPath)))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nХост работает без этого модуля.")));
}

TEST(PluginHost, StopClosesWindowsLeftInTheHostWindowBeforeUnmapping) {
    QTemporaryDir folder;
    VeltraHost host(OptionsIn(folder));
    host.Start();
    // Stands for a plug-in window its Unload failed to destroy.
    QPointer<QDialog> left = new QDialog(&host.Window());
    left->show();
    QPointer<QWidget> own = new QWidget(&host.Window(), Qt::Window);
    own->setProperty("veltraHostWindow", true);
    host.Stop();
    EXPECT_TRUE(left.isNull());
    EXPECT_FALSE(own.isNull());
}

TEST(PluginHost, ScriptedRunOfTheProgramLoadsAndUnloadsThePlugin) {
    QTemporaryDir folder;
    const HostOptions options = OptionsIn(folder);
    QProcess host;
    host.start(QStringLiteral(VELTRA_HOST_PATH),
               {"--script", "--plugin", options.pluginPath, "--db", options.databasePath, "--profile",
                options.profilePath, "--steps", QStringLiteral("menu %1").arg(QString::fromUtf8(kMenuPath))});
    ASSERT_TRUE(host.waitForFinished(60000));
    EXPECT_EQ(host.exitCode(), 0) << host.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(host.readAllStandardOutput()),
              QStringLiteral("Модуль загружен: atmocalc 1.0.2.0 (%1)\n> menu %2\nМодуль выгружен: atmocalc\n")
                  .arg(options.pluginPath, QString::fromUtf8(kMenuPath)));
}

TEST(PluginHost, ScriptedRunWithoutThePluginSaysSoAndFailsItsStep) {
    QTemporaryDir folder;
    const HostOptions options = OptionsIn(folder);
    const QString missing = folder.filePath(QStringLiteral("none.so"));
    QProcess host;
    host.start(QStringLiteral(VELTRA_HOST_PATH),
               {"--script", "--plugin", missing, "--profile", options.profilePath, "--steps",
                QStringLiteral("menu %1").arg(QString::fromUtf8(kMenuPath))});
    ASSERT_TRUE(host.waitForFinished(60000));
    EXPECT_EQ(host.exitCode(), 1);
    const QString errors = QString::fromUtf8(host.readAllStandardError());
    EXPECT_TRUE(errors.contains(
        QStringLiteral("[Veltra] error: Файл модуля не найден: %1\nХост работает без этого модуля.")
            .arg(missing)))
        << errors.toStdString();
    EXPECT_TRUE(
        errors.contains(QStringLiteral("Сценарий прерван: шаг \"menu %1\" не выполнен: в меню нет пункта")
                            .arg(QString::fromUtf8(kMenuPath))));
}
