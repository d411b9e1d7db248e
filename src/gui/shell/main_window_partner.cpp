#include <QLabel>

#include "core/store/partner_profile.h"
#include "gui/common/partner_colour.h"
#include "gui/shell/main_window.h"
#include "gui/widgets/elided_button.h"
#include "gui/widgets/elided_label.h"

// Whose diary is shown: the selected partner's button marked, and lblWho naming it.
namespace pairly::gui::shell {

namespace {
// As wide as a partner button's caption.
constexpr int kWhoWidth = 120;
}  // namespace

QWidget* MainWindow::buildWhoLabel(QWidget* row) {
    auto* label = new widgets::ElidedLabel(kWhoWidth, row);
    label->setObjectName("lblWho");
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    // Four characters always show, so the name is read, not guessed; the rest of the row
    // gives way first.
    label->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("ああああ")) + 4);
    lblWho_ = label;
    return label;
}

void MainWindow::markSelectedPartner(int slot) {
    // The face keeps its colour (255, 255, 240); a colour alone is not seen on every style.
    for (int s = 1; s <= 2; ++s)
        static_cast<widgets::ElidedButton*>(partnerButton(s))
            ->setMark(s == slot ? common::partnerColour(s) : QColor());
    if (!lblWho_) return;
    QPalette palette = lblWho_->palette();
    palette.setColor(QPalette::WindowText, common::partnerColour(slot));
    lblWho_->setPalette(palette);
    static_cast<widgets::ElidedLabel*>(lblWho_)->setCaption(
        QString::fromStdString(store::partnerCaption(ctx_.profileOf(slot), slot)));
}

}  // namespace pairly::gui::shell
