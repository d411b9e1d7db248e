#pragma once
// The new-start panel fraNew: laid over the settings screen, it takes partner 1 and then
// partner 2, replaces each one's profile and log, and after partner 2 ends the program.
#include <QFrame>
#include <array>

#include "core/settings/new_start.h"
#include "gui/common/app_context.h"

class QLineEdit;
class QPushButton;

namespace pairly::gui::settings {

class NewStartPanel : public QFrame {
    Q_OBJECT
public:
    explicit NewStartPanel(common::AppContext& ctx, QWidget* parent = nullptr);

    // cmdNew1: partner 1, the fields emptied (the start situation kept), the opening
    // message, the panel shown and the focus on the nickname.
    void openNewStart();
    // cmdStHozon: checks, asks, writes the partner entered.
    void enterPartner();
    // cmdYame: hides the panel; partners already entered stay entered.
    void cancelNewStart();

    int enteringSlot() const { return enteringSlot_; }

signals:
    // A partner's files were replaced; that partner is now the selected one.
    void partnerEntered(int slot);
    // Partner 2 entered and the final message answered: the program ends.
    void newStartFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearFields();
    pairly::settings::NewStartTexts texts() const;

    common::AppContext& ctx_;
    std::array<QLineEdit*, pairly::settings::kNewStartFieldCount> fields_{};
    QPushButton* cmdStHozon_ = nullptr;
    int enteringSlot_ = 1;
};

}  // namespace pairly::gui::settings
