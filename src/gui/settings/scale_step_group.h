#pragma once
// The two scale-step groups of the settings screen: three options and a free field each.
#include <QWidget>

#include "gui/common/app_context.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace pairly::gui::settings {

class ScaleStepGroup : public QWidget {
    Q_OBJECT
public:
    explicit ScaleStepGroup(common::AppContext& ctx, QWidget* parent = nullptr);

    // Selects the option matching each step text of ctx.steps, or clears the options and
    // shows the text in the free field. Writes nothing.
    void showSteps();

private:
    enum Kind { Weight = 0, BodyFat = 1 };
    QWidget* buildGroup(Kind kind);
    void optionChosen(Kind kind, int option);
    void freeStepEntered(Kind kind);
    // Writes one step; the other keeps the value the file holds.
    void storeStep(Kind kind, const std::string& step);

    common::AppContext& ctx_;
    QRadioButton* options_[2][3] = {};
    QButtonGroup* groups_[2] = {};
    QLineEdit* freeField_[2] = {};
    bool showing_ = false;
};

}  // namespace pairly::gui::settings
