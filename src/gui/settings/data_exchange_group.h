#pragma once
// The group "データの書き出し・読み込み" of the settings screen: where the data folder is,
// both diaries to a CSV file, weighings brought in from a CSV file or a log, and a daily
// backup put back.
#include <QWidget>

#include "gui/common/app_context.h"

namespace pairly::gui::settings {

class DataExchangeGroup : public QWidget {
    Q_OBJECT
public:
    explicit DataExchangeGroup(common::AppContext& ctx, QWidget* parent = nullptr);

    void exportCsv();   // cmdCsvOut
    void importFile();  // cmdCsvIn
    void restore();     // cmdRestore
    void openFolder();  // cmdOpenFolder

signals:
    // A log was merged into: the screens show the new records.
    void logsChanged();
    // A backup replaced the data files: profiles, preferences and every screen read again.
    void dataFilesReplaced();

private:
    // The slot's log changed: the session is told and logsChanged sent, with one reading of
    // each log for every screen that follows.
    void logsChangedIn(int slot);

    common::AppContext& ctx_;
};

}  // namespace pairly::gui::settings
