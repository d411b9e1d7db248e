#pragma once
// The frame "状況リスト編集" of the settings screen: add, reorder by dragging, save the
// order, delete, delete all and rename situations.
#include <QWidget>
#include <string>
#include <vector>

#include "gui/common/app_context.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace pairly::gui::common {
class SituationList;
}  // namespace pairly::gui::common

namespace pairly::gui::settings {

class SituationListGroup : public QWidget {
    Q_OBJECT
public:
    SituationListGroup(common::AppContext& ctx, common::SituationList& situations,
                       QWidget* parent = nullptr);

    // cmdSort, cmdDel and cmdChg wait for a click on an entry.
    void disableEntryButtons();

    void addSituation();
    // Drag of one entry: pressed on pressIndex, released on releaseIndex.
    void moveSituationByDrag(int pressIndex, int releaseIndex);
    void saveSituationOrder();
    void deleteSituation();
    void deleteAllSituations();
    void renameSituation();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enableEntryButtons();
    // The entries of lstKoumoku, top to bottom (a reorder not yet saved included).
    std::vector<std::string> shownEntries() const;

    common::AppContext& ctx_;
    common::SituationList& situations_;
    QListWidget* lstKoumoku_ = nullptr;
    QPushButton* cmdNew2_ = nullptr;
    QPushButton* cmdSort_ = nullptr;
    QPushButton* cmdDel_ = nullptr;
    QPushButton* cmdDel2_ = nullptr;
    QLineEdit* txtChg_ = nullptr;
    QPushButton* cmdChg_ = nullptr;
    int pressIndex_ = -1;
};

}  // namespace pairly::gui::settings
