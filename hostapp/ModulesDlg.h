// Help → "Модули": what the loaded plug-in says about itself (its information record), or why none
// is loaded.
#pragma once

#include <QDialog>

class PluginLibrary;

class ModulesDlg : public QDialog {
    Q_OBJECT
public:
    ModulesDlg(const PluginLibrary& plugin, QWidget* parent);
};
