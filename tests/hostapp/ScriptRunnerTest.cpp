// The scripted run, against a stand-in for a plug-in dialog that uses only the host table: menus,
// buttons found by their tooltips, pages printed, modal dialogs worked from the script, message boxes
// answered, files opened for the user printed.
#include "hostapp/ScriptRunner.h"
#include "hostapp/MainWindow.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const HostFunctions* table = nullptr;

class StandInDialog : public QDialog {
public:
    explicit StandInDialog(QWidget* owner) : QDialog(owner) {
        setWindowTitle(QStringLiteral("Стенд"));
        setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(this);
        Button(layout, QStringLiteral("Добавить хроматограммы"), [this] { Add(); });
        Button(layout, QStringLiteral("Создать отчёт (HTML)"), [this] {
            QMessageBox::information(this, QStringLiteral("atmocalc"), QStringLiteral("Отчёт готов"));
            QDesktopServices::openUrl(QUrl::fromLocalFile(QStringLiteral("/tmp/отчёт 1.html")));
        });
        Button(layout, QStringLiteral("Открыть настройки"), [this] { Settings(); });
        auto* tabs = new QTabWidget(this);
        results = new QTableWidget(0, 2, tabs);
        results->setHorizontalHeaderLabels({QStringLiteral("Компонент"), QStringLiteral("Концентрация")});
        messages = new QListWidget(tabs);
        tabs->addTab(results, QStringLiteral("Расчет"));
        tabs->addTab(messages, QStringLiteral("Сообщения"));
        layout->addWidget(tabs);
    }

private:
    template <typename Action> void Button(QVBoxLayout* layout, const QString& tooltip, Action action) {
        auto* button = new QPushButton(QStringLiteral("+"), this);
        button->setToolTip(tooltip);
        connect(button, &QPushButton::clicked, this, action);
        layout->addWidget(button);
    }

    void Add() {
        uint32_t ids[256] = {};
        const HostResult count = table->CallService("Main/OpenAssayIdDlg", 256, ids);
        if (count == 0 || count == ServiceNotFound)
            return;
        for (HostResult i = 0; i < count; ++i) {
            const int row = results->rowCount();
            results->insertRow(row);
            results->setItem(row, 0, new QTableWidgetItem(QStringLiteral("id %1").arg(ids[i])));
            results->setItem(row, 1, new QTableWidgetItem(QStringLiteral("1.5 ± 0.2")));
        }
        messages->addItems(
            {QStringLiteral("Информация:"), QStringLiteral("    1. Добавлено: %1").arg(count)});
    }

    void Settings() {
        QDialog dialog(this);
        dialog.setWindowTitle(QStringLiteral("Настройки"));
        auto* layout = new QVBoxLayout(&dialog);
        auto* pressure = new QLineEdit(QStringLiteral("750"), &dialog);
        layout->addWidget(pressure);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        if (dialog.exec() == QDialog::Accepted)
            messages->addItem(QStringLiteral("Настройки приняты: %1").arg(pressure->text()));
    }

    QTableWidget* results;
    QListWidget* messages;
};

int OpenStandIn(void* window) {
    (new StandInDialog(static_cast<QWidget*>(window)))->show();
    return 0;
}

int OnModulesLoaded(void*) {
    table->RegisterCommand("standin/MenuCommand", &OpenStandIn);
    NewMenuInfo menu{sizeof(NewMenuInfo), u"Данные/Расчёты/Тамирель", 0, "standin/MenuCommand"};
    table->CallService("MainMenu/CreateNewMenu", 0, &menu);
    return 0;
}

HostOptions ScriptOptions(const QTemporaryDir& folder) {
    HostOptions options = OptionsIn(folder);
    options.script = true;
    return options;
}

class Script : public testing::Test {
protected:
    // The host is never started: the stand-in takes the plug-in's place through the table.
    Script() {
        table = host.Bus().Table();
        table->Subscribe("System/ModulesLoaded", &OnModulesLoaded);
        host.Bus().Fire("System/ModulesLoaded");
        host.Window().show();
    }
    bool Run(const QString& text) {
        std::vector<ScriptStep> steps;
        std::u16string error;
        EXPECT_TRUE(ParseScriptSteps(text.toStdU16String(), steps, error));
        ScriptRunner runner(host.Window(), [this](const QString& line) { output << line; });
        const bool done = runner.Run(steps);
        failure = runner.Failure();
        return done;
    }

    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = ScriptOptions(folder);
    QStringList output;
    VeltraHost host{options, [this](const QString& line) { output << line; }};
    QString failure;
};

} // namespace

TEST_F(Script, DemoStepsWorkTheDialogAndPrintWhatAPersonReads) {
    ASSERT_TRUE(Run(QString::fromStdU16String(DemoSteps()))) << failure.toStdString();
    EXPECT_EQ(output, (QStringList{
                          "> menu Данные/Расчёты/Тамирель",
                          "> press Добавить хроматограммы",
                          "Выбор хроматограмм: 1, 2, 5",
                          "> print Расчет",
                          "== Расчет",
                          "Компонент\tКонцентрация",
                          "id 1\t1.5 ± 0.2",
                          "id 2\t1.5 ± 0.2",
                          "id 5\t1.5 ± 0.2",
                          "> print Сообщения",
                          "== Сообщения",
                          "Информация:",
                          "    1. Добавлено: 3",
                          "> press Создать отчёт (HTML)",
                          "Сообщение [atmocalc]: Отчёт готов",
                          "Открыт файл: /tmp/отчёт 1.html",
                          "> close",
                      }));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Script, StepsActInsideAModalDialogTheStepBeforeOpened) {
    ASSERT_TRUE(Run("menu Данные/Расчёты/Тамирель\npress Открыть настройки\nprint Настройки\npress OK\n"
                    "print Сообщения\nclose Стенд"))
        << failure.toStdString();
    EXPECT_EQ(output.mid(2),
              (QStringList{"> print Настройки", "== Настройки", "750", "> press OK", "> print Сообщения",
                           "== Сообщения", "Настройки приняты: 750", "> close Стенд"}));
}

TEST_F(Script, FailedStepEndsTheRunAndClosesTheModalWindows) {
    EXPECT_FALSE(Run("menu Данные/Расчёты/Тамирель; press Открыть настройки; press Нет такой; print Расчет"));
    EXPECT_EQ(failure, QStringLiteral(
                           "шаг \"press Нет такой\" не выполнен: кнопки \"Нет такой\" нет в открытых окнах"));
    EXPECT_EQ(output.mid(2), (QStringList{"> press Нет такой", "Сценарий закрывает окно \"Настройки\""}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Script, ModalWindowLeftOpenAtTheEndIsAFailure) {
    EXPECT_FALSE(Run("menu Данные/Расчёты/Тамирель; press Открыть настройки"));
    EXPECT_EQ(failure, QStringLiteral("после сценария осталось открытым окно \"Настройки\""));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Script, MenuItemThatIsMissingOrWithoutCommandFails) {
    EXPECT_FALSE(Run("menu Данные/Нет"));
    EXPECT_EQ(failure,
              QStringLiteral("шаг \"menu Данные/Нет\" не выполнен: в меню нет пункта \"Данные/Нет\""));
    host.Window().AddMenuItem(QStringLiteral("Данные/Пустой"), "nobody/Command");
    EXPECT_FALSE(Run("menu Данные/Пустой"));
    EXPECT_EQ(failure, QStringLiteral("шаг \"menu Данные/Пустой\" не выполнен: пункт меню \"Данные/Пустой\" "
                                      "недоступен: его команда не зарегистрирована"));
}
