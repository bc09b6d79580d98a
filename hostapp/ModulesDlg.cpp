#include "ModulesDlg.h"

#include "hostcore/PluginLibrary.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ModulesDlg::ModulesDlg(const PluginLibrary& plugin, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Модули"));
    setProperty("veltraHostWindow", true);
    auto* layout = new QVBoxLayout(this);

    if (const PluginInfo* info = plugin.Info()) {
        auto* group = new QGroupBox(QString::fromStdU16String(InfoText(info->name)), this);
        auto* form = new QFormLayout(group);
        auto add = [&](const QString& label, const QString& text) {
            auto* value = new QLabel(text, group);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(label, value);
        };
        add(QStringLiteral("Имя:"), QString::fromStdU16String(InfoText(info->name)));
        add(QStringLiteral("Название:"), QString::fromStdU16String(InfoText(info->title)));
        add(QStringLiteral("Версия:"), QString::fromStdU16String(VersionText(info->version)));
        add(QStringLiteral("Разработчик:"), QString::fromStdU16String(InfoText(info->company)));
        add(QStringLiteral("Эл. почта:"), QString::fromStdU16String(InfoText(info->email)));
        add(QStringLiteral("Права:"), QString::fromStdU16String(InfoText(info->rights)));
        add(QStringLiteral("Сайт:"), QString::fromStdU16String(InfoText(info->web)));
        add(QStringLiteral("Идентификатор:"), QString::fromStdU16String(GuidText(info->id)));
        add(QStringLiteral("Файл:"), QString::fromStdU16String(plugin.Path()));
        layout->addWidget(group);
    } else {
        auto* text = new QLabel(QStringLiteral("Модуль не загружен.\n%1").arg(QString::fromStdU16String(plugin.LastError())), this);
        text->setWordWrap(true);
        layout->addWidget(text);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
