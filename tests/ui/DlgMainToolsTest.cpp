// The main dialog's tool commands: the settings and components dialogs with the recalculation on
// OK, the report opened through the shell, and the About box from its button and the system menu.
#include "MainDialogTestSupport.h"

#include "platform/shell/Shell.h"

#include <QMenu>

#include <fstream>

namespace {

// Writes every row of the report document's files and results, so a test can read what went in.
constexpr char kTemplate[] = R"xsl(<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:output method="html" encoding="UTF-8"/>
<xsl:template match="/root"><html><body>
<p class="files"><xsl:value-of select="count(files/row)"/></p>
<p class="results"><xsl:value-of select="count(results/row)"/></p>
<xsl:for-each select="messages/row"><p class="message"><xsl:value-of select="@msg_str"/></p></xsl:for-each>
</body></html></xsl:template>
</xsl:stylesheet>
)xsl";

class MainDialogTools : public MainDialogTest {
protected:
    MainDialogTools() {
        previousShell = SetShellOpenHandler([this](const std::u16string& path) {
            opened.push_back(path);
            return true;
        });
        const auto folder = root / "Documents" / "Veltra4" / "atmocalc" / "templates";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "Report.xsl") << kTemplate;
    }
    ~MainDialogTools() override { SetShellOpenHandler(std::move(previousShell)); }

    std::string ReadText(const std::u16string& path) {
        std::ifstream in{std::filesystem::path(path)};
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::vector<std::u16string> opened;
    ShellOpenHandler previousShell;
};

} // namespace

TEST_F(MainDialogTools, CancellingTheSettingsChangesNothingAndDoesNotRecalculate) {
    ASSERT_TRUE(Open());
    MarkMessages();
    WhenModalOpens([](CDialogEx& settings) {
        EXPECT_EQ(settings.GetTemplate().id, 115);
        TypeText(settings, 1005, u"750");
        ClickButton(settings, IDCANCEL);
    });
    Press(1012);
    EXPECT_TRUE(MarkerKept());
    EXPECT_EQ(SettingsRecord::Instance().pressGrad, -1.0);
}

TEST_F(MainDialogTools, ConfirmingTheSettingsRecalculatesAlsoWithoutChanges) {
    ASSERT_TRUE(Open());
    MarkMessages();
    WhenModalOpens([](CDialogEx& settings) { ClickButton(settings, IDOK); });
    Press(1012);
    EXPECT_FALSE(MarkerKept());

    WhenModalOpens([](CDialogEx& settings) {
        TypeText(settings, 1005, u"750");
        TypeText(settings, 1006, u"745,5");
        ClickButton(settings, IDOK);
    });
    Press(1012);
    // The pressures are set: their errors are gone from the new run.
    EXPECT_TRUE(dialog->messagesTab.errors.empty());
}

TEST_F(MainDialogTools, CancellingTheComponentsDoesNotRecalculateConfirmingDoes) {
    ASSERT_TRUE(Open());
    MarkMessages();
    WhenModalOpens([](CDialogEx& components) {
        EXPECT_EQ(components.GetTemplate().id, 118);
        ClickButton(components, IDCANCEL);
    });
    Press(1014);
    EXPECT_TRUE(MarkerKept());

    const std::string bytes = ComponentFileBytes();
    WhenModalOpens([](CDialogEx& components) { ClickButton(components, IDOK); });
    Press(1014);
    EXPECT_FALSE(MarkerKept());
    EXPECT_EQ(ComponentFileBytes(), bytes);
}

TEST_F(MainDialogTools, TheAboutBoxOpensFromItsButtonAndFromTheSystemMenu) {
    ASSERT_TRUE(Open());
    ASSERT_TRUE(ShowActive(*dialog));
    std::vector<std::u16string> labels;
    const auto readAndClose = [&labels](CDialogEx& about) {
        labels.push_back(about.GetDlgItemText(1021));
        ClickButton(about, IDOK);
    };
    WhenModalOpens(readAndClose);
    Press(1015);

    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (action->text() == Q(u"О плагине"))
                action->trigger();
        menu->close();
        WhenModalOpens(readAndClose); // the box opens once the menu has closed
    });
    QWidget* window = dialog->GetSafeHwnd();
    const QPoint background(window->width() - 3, 3);
    ASSERT_EQ(window->childAt(background), nullptr);
    QContextMenuEvent onBackground(QContextMenuEvent::Mouse, background, window->mapToGlobal(background));
    QApplication::sendEvent(window, &onBackground);

    EXPECT_EQ(labels, (std::vector<std::u16string>{u" 1.0.2.0", u" 1.0.2.0"}));
    EXPECT_TRUE(dialog->IsWindowVisible());
}

TEST_F(MainDialogTools, AnEmptySetStillMakesAReportWithTheLastRunsMessages) {
    ASSERT_TRUE(Open());
    Press(1013);
    ASSERT_EQ(opened.size(), 1u);
    const std::string html = ReadText(opened[0]);
    EXPECT_NE(html.find("<p class=\"files\">0</p>"), std::string::npos) << html;
    EXPECT_NE(html.find("<p class=\"results\">0</p>"), std::string::npos);
    // Errors, then the information, as the messages page holds them.
    const size_t error = html.find("Не задано давление при анализе");
    const size_t info = html.find("Хроматограммы не добавлены");
    EXPECT_NE(error, std::string::npos);
    EXPECT_NE(info, std::string::npos);
    EXPECT_LT(error, info);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainDialogTools, TwoReportsInARowOpenTwoFilesAndChangeNothingOnScreen) {
    AddAssay(1, u"Градуировка", CalibrationPeaks(5000), true);
    AddAssay(2, u"без патрона", SamplePeaks(200, 30));
    ASSERT_TRUE(Open());
    Pick({1, 2});
    MarkMessages();
    Press(1013);
    Press(1013);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_NE(opened[0], opened[1]);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(opened[0])));
    EXPECT_NE(ReadText(opened[1]).find("<p class=\"files\">2</p>"), std::string::npos);
    EXPECT_TRUE(MarkerKept());
    EXPECT_NE(ReadText(opened[1]).find("метка"), std::string::npos); // the messages as they stood
}

TEST_F(MainDialogTools, AFailedReportOpensNothing) {
    std::filesystem::remove(root / "Documents" / "Veltra4" / "atmocalc" / "templates" / "Report.xsl");
    ASSERT_TRUE(Open());
    Press(1013);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text.rfind(u"Не удалось загрузить шаблон отчёта.\n", 0), 0u);
}

TEST_F(MainDialogTools, AReportTheDesktopCannotOpenIsKeptAndItsPathShownInAnExclamationBox) {
    std::u16string tried;
    SetShellOpenHandler([&](const std::u16string& path) {
        tried = path;
        return false; // no program for HTML, or no opener at all
    });
    ASSERT_TRUE(Open());
    Press(1013);
    ASSERT_FALSE(tried.empty());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(tried)));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"Отчёт сохранён в файле:\n" + tried + u"\nОткрыть его программой по умолчанию не удалось.");
    EXPECT_EQ(boxes.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
}

// The browser the desktop opened the report in stays in front; only when no program could open it
// does the dialog come back, with the box saying where the report is.
TEST_F(MainDialogTools, AnOpenedReportStaysInFrontOfTheDialog) {
    for (const bool opens : {true, false}) {
        QWidget browser;
        SetShellOpenHandler([&](const std::u16string&) {
            browser.show();
            browser.activateWindow();
            return QTest::qWaitForWindowActive(&browser) && opens;
        });
        ASSERT_TRUE(Open());
        ASSERT_TRUE(ShowActive(*dialog));
        Press(1013);
        QWidget* expected = opens ? &browser : dialog->GetSafeHwnd();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == expected; })) << opens;
        QTest::qWait(100); // nothing takes the activation back afterwards
        EXPECT_EQ(QApplication::activeWindow(), expected) << opens;
        EXPECT_EQ(boxes.boxes.size(), opens ? 0u : 1u);
        Press(IDCANCEL);
        FlushDeletes();
        dialog = nullptr;
        boxes.boxes.clear();
    }
}
