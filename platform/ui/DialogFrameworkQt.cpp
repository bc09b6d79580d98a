#include "DialogFramework.h"

#include "QtMessageBox.h"
#include "QtTranslations.h"

void InitDialogFramework() {
    InstallQtMessageBoxHandler();
    InstallQtTranslations();
}
