#include "platform/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTranslator>

#include <memory>

#include <gtest/gtest.h>

TEST(QtTranslations, TheEditFieldsMenuSpeaksRussianOnceInstalledAndASecondInstallAddsNothing) {
    ASSERT_TRUE(InstallQtTranslations());
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
    ASSERT_FALSE(texts.isEmpty());
    for (const QString& text : texts)
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}")))) << text.toStdString();
    const QString undo = QCoreApplication::translate("QLineEdit", "&Undo");
    EXPECT_TRUE(InstallQtTranslations());
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), undo);
    EXPECT_EQ(QCoreApplication::instance()->findChildren<QTranslator*>().size(), 1);
}
