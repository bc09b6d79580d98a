// What the dialog tests share: a fake host with a profile installed as the plug-in's host, PUBLIC
// pointing at a fresh folder (for the component table), the settings record and the component
// table put back to a first load, message boxes recorded; and helpers to drive modal dialogs.
#pragma once

#include "components/ComponentTable.h"
#include "host/PluginState.h"
#include "host/SettingsRecord.h"
#include "platform/ui/DialogEx.h"
#include "platform/ui/ListCtrl.h"
#include "support/FakeHost.h"
#include "support/MessageBoxRecorder.h"
#include "support/QtTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DialogTest : public testing::Test {
protected:
    DialogTest();
    ~DialogTest() override;

    // Writes CompsTable.csv (code page 1251, with its header line) with one row per (name, K).
    void WriteComponentTable(const std::vector<std::pair<std::u16string, double>>& rows);
    std::filesystem::path ComponentFile() const;
    // The file's bytes; empty when it does not exist.
    std::string ComponentFileBytes() const;

    FakeHost host;
    MessageBoxRecorder boxes;
    std::filesystem::path root; // PUBLIC

private:
    std::optional<std::string> previousPublic;
};

// The dialog on top of the modal stack, or null.
CDialogEx* ActiveModalDialog();

// Runs `act` on the next modal dialog once it is up (from inside its event loop).
void WhenModalOpens(std::function<void(CDialogEx&)> act);

// Runs the dialog modally, with `act` run once it is up; the dialog's result.
template <class D> intptr_t RunModal(D& dialog, std::function<void(D&)> act) {
    QTimer::singleShot(0, [&dialog, act] { act(dialog); });
    return dialog.DoModal();
}

// A list column as a dialog makes it: heading, LVCFMT_* alignment and width in pixels at the
// reference dialog font.
struct ColumnPin {
    std::u16string heading;
    int format;
    int width;
};
// Expects the list to hold exactly these columns, their widths grown with the dialog's font.
void ExpectColumns(const CListCtrl& list, const CDialogEx& dialog, const std::vector<ColumnPin>& columns);

// Clicks the dialog's button `id` with the mouse.
void ClickButton(CDialogEx& dialog, int id);
// Replaces the text of edit `id` as a user does: select all, then type.
void TypeText(CDialogEx& dialog, int id, std::u16string_view text);
