#pragma once
// The profile edit frame "プライベートデータ" of the settings screen: nickname, height and
// target weight of the selected partner, saved with cmdPHozon1.
#include <QWidget>

#include "gui/common/app_context.h"

class QLineEdit;

namespace pairly::gui::settings {

class ProfileGroup : public QWidget {
    Q_OBJECT
public:
    explicit ProfileGroup(common::AppContext& ctx, QWidget* parent = nullptr);

    // The selected partner's current profile into the three fields.
    void showProfile();
    // The handler of cmdPHozon1.
    void saveProfileEdit();

private:
    common::AppContext& ctx_;
    QLineEdit* fields_[3] = {};  // txtPriData, txtSincyou, txtMokuTai
};

}  // namespace pairly::gui::settings
