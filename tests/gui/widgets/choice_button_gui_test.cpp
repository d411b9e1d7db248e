// Buttons of an exclusive choice look the same checked or not: the choice shows elsewhere.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QImage>
#include <QPushButton>
#include <QWidget>

#include "gui/widgets/back_colour.h"
#include "gui/widgets/choice_button.h"
#include "gui/widgets/elided_button.h"

namespace pairly::gui::widgets {
namespace {

QImage face(QPushButton& button) { return button.grab().toImage(); }

TEST(ChoiceButton, CheckedOrNotItKeepsThePlainFace) {
    QWidget window;
    QPushButton plain(QStringLiteral("比較"), &window);
    ChoiceButton choice(QStringLiteral("比較"), &window);
    auto* partner = new ElidedButton(120, &window);
    partner->setCaption(QStringLiteral("みさき"));
    QPushButton plainPartner(QStringLiteral("みさき"), &window);
    QPushButton* all[] = {&plain, &choice, partner, &plainPartner};
    for (QPushButton* b : all) b->resize(80, 26);
    QButtonGroup group;
    group.addButton(&choice);
    group.addButton(partner);
    ASSERT_TRUE(choice.isCheckable() && partner->isCheckable());

    // The selected partner shows in its colour, whether checked or not.
    setBackColour(partner, QColor(255, 255, 240));
    setBackColour(&plainPartner, QColor(255, 255, 240));
    const struct {
        const char* name;
        QPushButton* button;
        QPushButton* like;
    } cases[] = {{"menu button", &choice, &plain}, {"partner button", partner, &plainPartner}};
    for (const auto& c : cases) {
        for (const bool checked : {false, true}) {
            c.button->setChecked(checked);
            EXPECT_EQ(c.button->isChecked(), checked) << c.name;
            EXPECT_EQ(face(*c.button), face(*c.like)) << c.name << (checked ? " checked" : "");
        }
    }
}

}  // namespace
}  // namespace pairly::gui::widgets
