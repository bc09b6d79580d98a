// The main dialog's window: what initialisation leaves, the tab pages, closing and the stored
// rectangle, and the menu command's one dialog.
#include "MainDialogTestSupport.h"

#include "platform/ui/Button.h"
#include "platform/ui/Static.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>

#include <limits>

namespace {

const std::vector<int> kIconButtons = {1003, 1004, 1005, 1006, 1010, 1012, 1013, 1014, 1015};

std::u16string Key(const char16_t* name) {
    return std::u16string(u"plugins\\atmocalc\\/") + name;
}

} // namespace

TEST_F(MainDialogTest, InitialisationGivesTitleMenuIconsTipsColumnsPagesAndAFirstRun) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(dialog->GetWindowText(), u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99 1.0.2.0");
    const auto& menu = dialog->GetSystemMenu().Items();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].id, 0u);
    EXPECT_EQ(menu[1].id, 16u);
    EXPECT_EQ(menu[1].text, u"О плагине");
    EXPECT_NE(dialog->GetIcon(true), nullptr);
    EXPECT_NE(dialog->GetIcon(false), nullptr);

    const std::vector<std::u16string> tips = {u"Добавить хроматограммы",
                                              u"Удалить выбранные хроматограммы",
                                              u"Удалить все хроматограммы",
                                              u"Открыть хроматограмму",
                                              u"Пересчитать",
                                              u"Открыть настройки",
                                              u"Создать отчёт (HTML)",
                                              u"Справочник компонентов",
                                              u"О плагине"};
    EXPECT_EQ(dialog->toolTips.GetToolCount(), 10); // the buttons and the convergence line
    for (size_t i = 0; i < kIconButtons.size(); ++i) {
        auto* button = dialog->GetDlgItemAs<CButton>(kIconButtons[i]);
        ASSERT_NE(button, nullptr);
        EXPECT_NE(button->GetIcon(), nullptr) << kIconButtons[i];
        EXPECT_EQ(dialog->toolTips.GetText(button), tips[i]);
    }

    EXPECT_EQ(dialog->chromatograms.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ExpectColumns(dialog->chromatograms, *dialog,
                  {{u"№", LVCFMT_CENTER, 30},
                   {u"Имя файла", LVCFMT_LEFT, 250},
                   {u"Проба", LVCFMT_LEFT, 180},
                   {u"Дата анализа", LVCFMT_LEFT, 120},
                   {u"Патрон", LVCFMT_LEFT, 110},
                   {u"Тип анализа", LVCFMT_LEFT, 80},
                   {u"Смесь", LVCFMT_LEFT, 110}});

    ASSERT_EQ(dialog->tabs.GetItemCount(), 2);
    EXPECT_EQ(dialog->tabs.GetItemText(0), u"Расчет");
    EXPECT_EQ(dialog->tabs.GetItemText(1), u"Сообщения");
    EXPECT_EQ(dialog->tabs.GetItemData(0),
              reinterpret_cast<intptr_t>(static_cast<CDialogEx*>(&dialog->resultsTab)));
    EXPECT_EQ(dialog->tabs.GetCurSel(), 0);
    EXPECT_TRUE(dialog->resultsTab.IsWindowVisible());
    EXPECT_FALSE(dialog->messagesTab.IsWindowVisible());

    // The run on the empty set: no convergence, no rows, the one information and both pressure errors.
    EXPECT_EQ(dialog->GetDlgItemText(1007), u"");
    EXPECT_EQ(dialog->resultsTab.list.GetItemCount(), 0);
    EXPECT_EQ(MessageLines(), (std::vector<std::u16string>{
                                  u"Ошибки:", u"    1. Не задано давление при градуировке (настройки).",
                                  u"    2. Не задано давление при анализе (настройки).", u"Информация:",
                                  u"    3. Хроматограммы не добавлены — добавьте измерения для расчёта."}));
    EXPECT_TRUE(boxes.boxes.empty());
    const PixelScale scale = FontPixelScale(dialog->GetBaseUnits());
    EXPECT_EQ(dialog->GetMinTrackSize(), CSize(ScalePixels(975, scale.x), ScalePixels(560, scale.y)));
}

TEST_F(MainDialogTest, AComponentTableThatCannotBeReadIsReportedOnTheMessagesPageOnly) {
    std::filesystem::remove(ComponentFile());
    ASSERT_TRUE(Open());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(MessageLines().at(1), u"    1. Справочник компонентов не загружен — расчёт невозможен.");
}

TEST_F(MainDialogTest, SwitchingTabsShowsOnePageAndNeverRecalculates) {
    ASSERT_TRUE(Open());
    MarkMessages();
    auto* bar = dialog->tabs.GetSafeHwnd()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(dialog->tabs.GetCurSel(), 1);
    EXPECT_FALSE(dialog->resultsTab.IsWindowVisible());
    EXPECT_TRUE(dialog->messagesTab.IsWindowVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_TRUE(dialog->resultsTab.IsWindowVisible());
    EXPECT_FALSE(dialog->messagesTab.IsWindowVisible());
    EXPECT_TRUE(MarkerKept());
}

TEST_F(MainDialogTest, ResizingMovesTheControlsAndFitsThePagesIntoTheTabs) {
    ASSERT_TRUE(Open());
    const auto geometry = [this](int id) { return dialog->GetDlgItem(id)->GetSafeHwnd()->geometry(); };
    const QRect ok = geometry(IDOK);
    const QRect cancel = geometry(IDCANCEL);
    const QRect convergence = geometry(1007);
    const QRect add = geometry(1003);
    const CRect list = dialog->chromatograms.GetWindowRect();
    const CRect tabs = dialog->tabs.GetWindowRect();
    const CRect before = dialog->GetWindowRect();
    dialog->MoveWindow(CRect{before.left, before.top, before.right + 200, before.bottom + 100});
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog->GetClientRect().Width(), dialog->MapDialogRect(0, 0, 645, 313).Width() + 200);
    EXPECT_EQ(geometry(IDOK), ok.translated(200, 100));
    EXPECT_EQ(geometry(IDCANCEL), cancel.translated(200, 100));
    EXPECT_EQ(geometry(1007), convergence.translated(0, 50));
    EXPECT_EQ(geometry(1003), add);
    const CRect grownList = dialog->chromatograms.GetWindowRect();
    const CRect grownTabs = dialog->tabs.GetWindowRect();
    EXPECT_EQ(grownList.Width() - list.Width(), 200);
    EXPECT_EQ(grownList.Height() - list.Height(), 50);
    EXPECT_EQ(grownTabs.top - tabs.top, 50);
    EXPECT_EQ(grownTabs.Height() - tabs.Height(), 50);
    const CRect client = dialog->tabs.GetClientRect();
    const QRect page = dialog->resultsTab.GetSafeHwnd()->geometry();
    // 1, 22, 4 and 2 pixels at the reference font, grown with the dialog's.
    const PixelScale scale = FontPixelScale(dialog->GetBaseUnits());
    const int left = ScalePixels(1, scale.x), top = ScalePixels(22, scale.y);
    EXPECT_EQ(page, QRect(left, top, client.right - ScalePixels(4, scale.x) - left,
                          client.bottom - ScalePixels(2, scale.y) - top));
    EXPECT_EQ(dialog->messagesTab.GetSafeHwnd()->geometry(), page);
}

TEST_F(MainDialogTest, OkAndCancelStoreTheRectangleInTheirOrderAndEndTheDialog) {
    for (int button : {IDOK, IDCANCEL}) {
        ASSERT_TRUE(Open());
        const CRect rect = dialog->GetWindowRect();
        const QPointer<QWidget> window = dialog->GetSafeHwnd();
        host.profileKeys.clear();
        Press(button);
        EXPECT_TRUE(mainDialogClosed); // the object is gone with its window
        ASSERT_FALSE(window.isNull());
        EXPECT_FALSE(window->isVisible());
        FlushDeletes();
        EXPECT_TRUE(window.isNull());
        EXPECT_EQ(host.profileKeys,
                  (std::vector<std::u16string>{Key(u"WindowRect_btx"), Key(u"WindowRect_bty"),
                                               Key(u"WindowRect_tlx"), Key(u"WindowRect_tly")}));
        EXPECT_EQ(host.intProfile[Key(u"WindowRect_tlx")], rect.left);
        EXPECT_EQ(host.intProfile[Key(u"WindowRect_tly")], rect.top);
        EXPECT_EQ(host.intProfile[Key(u"WindowRect_btx")], rect.right);
        EXPECT_EQ(host.intProfile[Key(u"WindowRect_bty")], rect.bottom);
        dialog = nullptr;
    }
}

TEST_F(MainDialogTest, AMaximisedOrMinimisedWindowStoresItsNormalRectangle) {
    const CRect normal{40, 30, 1140, 680};
    for (const int command : {SW_SHOWMAXIMIZED, SW_MINIMIZE}) {
        for (int button : {IDOK, IDCANCEL}) {
            ASSERT_TRUE(Open());
            dialog->MoveWindow(normal);
            QCoreApplication::processEvents();
            ASSERT_EQ(dialog->GetWindowRect(), normal);
            dialog->ShowWindow(command);
            QCoreApplication::processEvents();
            if (command == SW_SHOWMAXIMIZED)
                ASSERT_NE(dialog->GetWindowRect(), normal);
            Press(button);
            EXPECT_EQ(
                (CRect{host.intProfile[Key(u"WindowRect_tlx")], host.intProfile[Key(u"WindowRect_tly")],
                       host.intProfile[Key(u"WindowRect_btx")], host.intProfile[Key(u"WindowRect_bty")]}),
                normal)
                << "show command " << command << ", button " << button;
            FlushDeletes();
            dialog = nullptr;
        }
    }
}

TEST_F(MainDialogTest, TheCaptionsCloseActsAsCancel) {
    ASSERT_TRUE(Open());
    dialog->GetSafeHwnd()->close();
    FlushDeletes();
    EXPECT_TRUE(mainDialogClosed);
    EXPECT_EQ(host.intProfile.count(Key(u"WindowRect_btx")), 1u);
    dialog = nullptr;
}

TEST_F(MainDialogTest, AWindowDestroyedOtherwiseStoresNothing) {
    ASSERT_TRUE(Open());
    host.profileKeys.clear();
    dialog->DestroyNow();
    EXPECT_TRUE(mainDialogClosed);
    EXPECT_TRUE(host.profileKeys.empty());
    dialog = nullptr;
}

TEST_F(MainDialogTest, AStoredRectangleIsReadInItsOrderAppliedAsStoredAndStoredBackByOk) {
    // The second is smaller than the minimum tracking size, which holds the user only.
    for (const CRect& stored : {CRect{40, 30, 1140, 680}, CRect{40, 30, 840, 530}}) {
        host.intProfile[Key(u"WindowRect_tlx")] = stored.left;
        host.intProfile[Key(u"WindowRect_tly")] = stored.top;
        host.intProfile[Key(u"WindowRect_btx")] = stored.right;
        host.intProfile[Key(u"WindowRect_bty")] = stored.bottom;
        host.profileKeys.clear();
        ASSERT_TRUE(Open());
        ASSERT_GE(host.profileKeys.size(), 4u);
        EXPECT_EQ(std::vector(host.profileKeys.begin(), host.profileKeys.begin() + 4),
                  (std::vector<std::u16string>{Key(u"WindowRect_btx"), Key(u"WindowRect_bty"),
                                               Key(u"WindowRect_tlx"), Key(u"WindowRect_tly")}));
        QCoreApplication::processEvents();
        EXPECT_EQ(dialog->GetWindowRect(), stored);
        Press(IDOK);
        EXPECT_EQ((CRect{host.intProfile[Key(u"WindowRect_tlx")], host.intProfile[Key(u"WindowRect_tly")],
                         host.intProfile[Key(u"WindowRect_btx")], host.intProfile[Key(u"WindowRect_bty")]}),
                  stored);
        FlushDeletes();
        dialog = nullptr;
    }
}

TEST_F(MainDialogTest, WithoutAUsableRectangleTheTemplateSizeOpensCentredOnTheHostWindow) {
    const CRect empty{300, 200, 300, 900};
    const CRect offScreen{-5000, -5000, -3000, -4000};
    for (const std::optional<CRect>& stored :
         {std::optional<CRect>(), std::optional(empty), std::optional(offScreen)}) {
        host.intProfile.clear();
        if (stored) {
            host.intProfile[Key(u"WindowRect_tlx")] = stored->left;
            host.intProfile[Key(u"WindowRect_tly")] = stored->top;
            host.intProfile[Key(u"WindowRect_btx")] = stored->right;
            host.intProfile[Key(u"WindowRect_bty")] = stored->bottom;
        }
        ASSERT_TRUE(Open());
        QCoreApplication::processEvents();
        const QRect window = ToQRect(dialog->GetWindowRect());
        // The template's client exactly: the minimum tracking size does not stretch it.
        EXPECT_EQ(dialog->GetClientRect(), dialog->MapDialogRect(0, 0, 645, 313));
        EXPECT_LE(std::abs(window.center().x() - hostWindow.frameGeometry().center().x()), 2);
        EXPECT_LE(std::abs(window.center().y() - hostWindow.frameGeometry().center().y()), 2);
        dialog->DestroyNow();
        dialog = nullptr;
    }
}

TEST_F(MainDialogTest, CentredOverAHostWindowAtTheScreensEdgeItStaysOnTheScreen) {
    const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
    hostWindow.setGeometry(desk.left(), desk.top(), 300, 60);
    hostWindow.show();
    ASSERT_TRUE(Open());
    QCoreApplication::processEvents();
    const QRect window = ToQRect(dialog->GetWindowRect());
    // Centred, it would start about 230 pixels above the screen.
    EXPECT_GE(window.top(), desk.top());
    if (window.width() <= desk.width())
        EXPECT_GE(window.left(), desk.left());
}

TEST_F(MainDialogTest, AMenuCommandRightAfterClosingOpensANewDialogThatStays) {
    SetMainDialogCreator(&CreateMainDialog);
    for (int button : {IDOK, IDCANCEL}) {
        OnMenuCommand(&hostWindow);
        dialog = static_cast<DlgMain*>(mainDialog);
        ASSERT_NE(dialog, nullptr);
        const QPointer<QWidget> closedWindow = dialog->GetSafeHwnd();
        Press(button);
        // The closed dialog is gone before anything else can run: no event-loop turn between.
        EXPECT_TRUE(mainDialogClosed);
        EXPECT_EQ(mainDialog, nullptr);
        OnMenuCommand(&hostWindow);
        dialog = static_cast<DlgMain*>(mainDialog);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(mainDialogClosed);
        EXPECT_NE(dialog->GetSafeHwnd(), closedWindow.data());
        FlushDeletes(); // the closed window's widgets go; the new dialog stays
        EXPECT_TRUE(closedWindow.isNull());
        EXPECT_EQ(mainDialog, dialog);
        EXPECT_FALSE(mainDialogClosed);
        EXPECT_TRUE(dialog->IsWindowVisible());
        dialog->DestroyNow();
        dialog = nullptr;
    }
    SetMainDialogCreator(nullptr);
}

TEST_F(MainDialogTest, TheMenuCommandKeepsOneDialogAndMakesANewOneAfterClosing) {
    SetMainDialogCreator(&CreateMainDialog);
    EXPECT_EQ(OnMenuCommand(&hostWindow), 0);
    MainDialogWindow* first = mainDialog;
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(mainDialogClosed);
    dialog = static_cast<DlgMain*>(first);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->GetSafeHwnd()->parentWidget(), &hostWindow);

    dialog->ShowWindow(SW_MINIMIZE);
    OnMenuCommand(&hostWindow);
    EXPECT_EQ(mainDialog, first);
    EXPECT_FALSE(dialog->GetSafeHwnd()->isMinimized());
    EXPECT_TRUE(dialog->IsWindowVisible());

    Press(IDCANCEL);
    FlushDeletes();
    EXPECT_TRUE(mainDialogClosed);
    EXPECT_EQ(mainDialog, nullptr);

    OnMenuCommand(&hostWindow);
    ASSERT_NE(mainDialog, nullptr);
    EXPECT_FALSE(mainDialogClosed);
    dialog = static_cast<DlgMain*>(mainDialog);
    EXPECT_TRUE(dialog->IsWindowVisible());
    SetMainDialogCreator(nullptr);
}

