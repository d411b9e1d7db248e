#pragma once
// The entry panel of the input screen: situation picks, the seven value fields with their
// steppers, and the save button. The save itself is the input screen's.
#include <QString>
#include <QWidget>
#include <array>

#include "core/entry/day_view.h"
#include "core/entry/entry_logic.h"
#include "gui/common/app_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pairly::gui::common {
class SituationList;
}  // namespace pairly::gui::common

namespace pairly::gui::entry {

// The four chart views the caption labels switch between.
enum class DayViewKind { Weight, Metabolism, Muscle, Bone };

class EntryPanel : public QWidget {
    Q_OBJECT
public:
    EntryPanel(common::AppContext& ctx, common::SituationList& situations,
               QWidget* parent = nullptr);

    QListWidget* situationList() const { return lstAct_; }

    // previousValues of the last day-view refresh.
    void setPreviousValues(const store::Readings& values) { previous_ = values; }
    const store::Readings& previousValues() const { return previous_; }
    const QString& selectedSituation() const { return selectedSituation_; }
    pairly::entry::FieldTexts fieldTexts() const;

    // Part of every refresh, so also of a save: fields and selectedSituation emptied,
    // nothing selected. The steppers keep their state.
    void clearEntry();
    // No situation and no field text.
    bool isEmpty() const;
    void setSteppersEnabled(bool enabled);

    // The three picks.
    void pickFromList(int row);
    // The pick made for the user: the entry selected in lstAct too, as a click leaves it.
    void pickForUser(int row);
    void pickFreeSituation();
    void pickTime();
    void stepField(pairly::entry::Field field, bool up);
    // Focus to a field, its whole text selected (after a refused value).
    void focusField(pairly::entry::Field field);
    // lstAct's row holding exactly `situation`, -1 when none does.
    int rowOfSituation(const QString& situation) const;

    // chkAutoSit, set without telling anyone.
    void setAutoSituation(bool on);
    bool autoSituation() const;
    // lblHozonKekka: the line about the last save, shown until the next action.
    void showSavedLine(const QString& text);

signals:
    void saveRequested();
    void autoSituationToggled(bool on);
    void viewRequested(pairly::gui::entry::DayViewKind view);
    // The entry holds nothing any more: saved (and so emptied), emptied by a refresh, or
    // its texts deleted by the user with no situation picked.
    void emptiedOrSaved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fillFields();
    // lblHozonJyou: the situation the save button will write.
    void showSelectedSituation();
    void enterPressed(int index);

    common::AppContext& ctx_;
    common::SituationList& situations_;
    store::Readings previous_;
    QString selectedSituation_;
    std::array<QLineEdit*, pairly::entry::kFieldCount> fields_{};
    std::array<QPushButton*, pairly::entry::kFieldCount> up_{};
    std::array<QPushButton*, pairly::entry::kFieldCount> down_{};
    std::array<QLabel*, pairly::entry::kFieldCount> captions_{};
    QListWidget* lstAct_ = nullptr;
    QPushButton* cmdFree_ = nullptr;
    QPushButton* cmdJikan_ = nullptr;
    QPushButton* cmdTaiHozon_ = nullptr;
    QLabel* lblHozonJyou_ = nullptr;
    QCheckBox* chkAutoSit_ = nullptr;
    QLabel* lblHozonKekka_ = nullptr;
    // A mouse click emits both a current-row change and a click: pick once.
    bool pickedByPress_ = false;
    bool clearing_ = false;
};

}  // namespace pairly::gui::entry
