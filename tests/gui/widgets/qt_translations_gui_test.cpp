// Qt's own dialogs and controls speak Japanese, as every text of the program does.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

#include "gui/widgets/qt_translations.h"

namespace pairly::testing {
namespace {

QString qs(const char* utf8) { return QString::fromUtf8(utf8); }

// The caption without its keyboard accelerator: "はい(&Y)" reads "はい".
QString shown(QString caption) {
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
    return caption;
}

class QtJapanese : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(gui::widgets::qtJapaneseFile()))
            GTEST_SKIP() << "Qt's Japanese translations are not installed ("
                         << gui::widgets::qtJapaneseFile().toStdString()
                         << "); install the Debian package qt6-translations-l10n";
    }
};

TEST_F(QtJapanese, StandardButtonsOfMessageBoxesAndInputDialogs) {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel |
                           QMessageBox::Ok);
    const std::pair<QMessageBox::StandardButton, const char*> buttons[] = {
        {QMessageBox::Yes, "はい"},
        {QMessageBox::No, "いいえ"},
        {QMessageBox::Cancel, "キャンセル"},
        {QMessageBox::Ok, "OK"},
    };
    for (const auto& [button, caption] : buttons)
        EXPECT_EQ(shown(box.button(button)->text()), qs(caption)) << caption;

    QInputDialog input;
    input.show();
    auto* box2 = input.findChild<QDialogButtonBox*>();
    ASSERT_NE(box2, nullptr);
    EXPECT_EQ(shown(box2->button(QDialogButtonBox::Cancel)->text()), qs("キャンセル"));
    input.hide();
}

TEST_F(QtJapanese, ContextMenuOfATextField) {
    QLineEdit field;
    field.setText(QStringLiteral("abc"));
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList captions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) captions << shown(a->text()).section('\t', 0, 0);
    EXPECT_TRUE(captions.contains(qs("貼り付け"))) << captions.join(',').toStdString();
    EXPECT_TRUE(captions.contains(qs("すべてを選択"))) << captions.join(',').toStdString();
}

}  // namespace
}  // namespace pairly::testing
