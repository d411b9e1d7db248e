#include "gui/settings/data_exchange_group.h"

#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "core/exchange/csv_export.h"
#include "core/exchange/csv_import.h"
#include "core/store/backups.h"
#include "core/store/partner_profile.h"
#include "gui/common/write_notice.h"
#include "gui/widgets/elided_text.h"
#include "gui/widgets/folder_opener.h"
#include "gui/widgets/text.h"

namespace pairly::gui::settings {

namespace {

using widgets::q;

const QString kExportTitle = QStringLiteral("CSVに書き出す");
const QString kImportTitle = QStringLiteral("CSV・ログを読み込む");
const QString kRestoreTitle = QStringLiteral("バックアップから戻す");
// The widest a nickname grows in a choice or a message.
constexpr int kNameWidth = 300;

const QString kWriteFailed = QStringLiteral("書き込めませんでした。") + common::writeFailedAdvice();

std::filesystem::path pathOf(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

QString folderText(const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path whole = std::filesystem::absolute(folder, ec);
    return QFile::decodeName(QByteArray::fromStdString((ec ? folder : whole).string()));
}

// A path keeps its beginning and its last folder: cut in the middle, whole in the tooltip.
class PathLabel : public QLabel {
public:
    PathLabel(const QString& path, QWidget* parent) : QLabel(parent), path_(path) {
        setToolTip(path_);
        setText(path_);  // the height of a line from the start; cut once the width is known
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setMinimumWidth(0);
        setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        setText(fontMetrics().elidedText(path_, Qt::ElideMiddle, contentsRect().width()));
    }

private:
    QString path_;
};

}  // namespace

DataExchangeGroup::DataExchangeGroup(common::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QStringLiteral("データの書き出し・読み込み"), this);
    outer->addWidget(group);
    // A column beside the profile: the screen has no height to spare.
    auto* row = new QVBoxLayout(group);
    row->setContentsMargins(6, 2, 6, 4);
    row->setSpacing(2);
    // Where the diary lives, so that it can be found, copied or synchronised.
    auto* lblDataFolder = new PathLabel(folderText(ctx_.dataFolder), group);
    lblDataFolder->setObjectName("lblDataFolder");
    row->addWidget(lblDataFolder);
    const struct {
        const char* name;
        QString caption;
        QString tip;
        void (DataExchangeGroup::*run)();
    } kButtons[] = {
        {"cmdCsvOut", kExportTitle,
         QStringLiteral("二人の測定を表計算ソフトで開けるCSVファイルに書き出します"),
         &DataExchangeGroup::exportCsv},
        {"cmdCsvIn", kImportTitle,
         QStringLiteral("CSVファイルや別のパソコンのログから測定を取り込みます"),
         &DataExchangeGroup::importFile},
        {"cmdRestore", kRestoreTitle, QStringLiteral("毎日のバックアップの一つにデータを戻します"),
         &DataExchangeGroup::restore},
        {"cmdOpenFolder", QStringLiteral("フォルダを開く"),
         QStringLiteral("データフォルダをファイルマネージャーで開きます"),
         &DataExchangeGroup::openFolder},
    };
    // Two by two: the screen has width to spare beside the profile, not height.
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    row->addLayout(buttons);
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(b.caption, group);
        button->setObjectName(b.name);
        button->setToolTip(b.tip);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.run);
        const int at = static_cast<int>(&b - kButtons);
        buttons->addWidget(button, at / 2, at % 2);
    }
}

void DataExchangeGroup::exportCsv() {
    const text::Date today = ctx_.clock.today();
    const QString suggested =
        QFile::decodeName(QByteArray::fromStdString((ctx_.dataFolder / "").string())) +
        QStringLiteral("ペアリーログ_%1%2%3.csv")
            .arg(today.year, 4, 10, QLatin1Char('0'))
            .arg(today.month, 2, 10, QLatin1Char('0'))
            .arg(today.day, 2, 10, QLatin1Char('0'));
    const QString name =
        ctx_.dialogs.fileName(true, kExportTitle, suggested, QStringLiteral("CSVファイル (*.csv)"));
    if (name.isEmpty()) return;
    const exchange::ExportResult result = exchange::exportCsv(ctx_.dataFolder, pathOf(name));
    switch (result.status) {
        case disk::WriteStatus::ReadFailed:
            ctx_.dialogs.warn(q(result.file) + QStringLiteral(" を読み込めませんでした。\n"
                                                              "何も書き出していません。"),
                              kExportTitle);
            return;
        case disk::WriteStatus::Refused:
        case disk::WriteStatus::Unusable:
            ctx_.dialogs.warn(q(exchange::exportRefusalText(name.toStdString(), result)),
                              kExportTitle);
            return;
        case disk::WriteStatus::OldLayout:
            ctx_.dialogs.warn(
                QStringLiteral("データ1.txt が以前の形式のままです。\n"
                               "ペアリー☆ログを起動し直して変換してから書き出してください。"),
                kExportTitle);
            return;
        default:
            break;
    }
    if (!result.written()) {
        ctx_.dialogs.warn(name + QStringLiteral(" に") + kWriteFailed, kExportTitle);
        return;
    }
    common::written(ctx_, result.status, pathOf(name).filename().string());
    QString text =
        QStringLiteral("%1 件の測定を %2 に書き出しました。").arg(result.weighings).arg(name);
    if (result.damagedLines > 0)
        text += QStringLiteral("\n読めない行 %1 行は書き出していません。").arg(result.damagedLines);
    ctx_.dialogs.inform(text, kExportTitle);
}

void DataExchangeGroup::logsChangedIn(int slot) {
    const session::Session::Refresh refresh(ctx_.session);
    ctx_.noteDataChanged(slot);
    emit logsChanged();
}

void DataExchangeGroup::importFile() {
    const QString name = ctx_.dialogs.fileName(
        false, kImportTitle, QFile::decodeName(QByteArray::fromStdString(ctx_.dataFolder.string())),
        QStringLiteral("CSV・ログ (*.csv *.txt);;すべてのファイル (*)"));
    if (name.isEmpty()) return;
    // A file that cannot be read is told before anything is asked.
    const exchange::ImportRead read = exchange::readImport(pathOf(name), ctx_.clock.today());
    const auto refuse = [&](const exchange::ImportRead& r) {
        ctx_.dialogs.warn(name + QStringLiteral("\n") + q(exchange::importProblemText(r)) +
                              QStringLiteral("\n何も取り込んでいません。"),
                          kImportTitle);
    };
    if (!read.usable()) return refuse(read);
    // A long nickname is cut in the choice and the messages, which would grow with it.
    const QStringList partners =
        widgets::elideEach(fontMetrics(),
                           {q(store::partnerCaption(ctx_.profileOf(1), 1)),
                            q(store::partnerCaption(ctx_.profileOf(2), 2))},
                           kNameWidth)
            .shown;
    const int pick = ctx_.dialogs.choose(QStringLiteral("どちらの記録に取り込みますか？"),
                                         kImportTitle, partners);
    if (pick < 0) return;
    const int slot = pick + 1;
    const std::string logName = store::logFileName(slot);
    // A log without its partner would skip the registration the first start asks for.
    if (!disk::fileExists(ctx_.dataFolder, store::profileFileName(slot)) &&
        !disk::fileExists(ctx_.dataFolder, logName)) {
        ctx_.dialogs.warn(
            partners[pick] + QStringLiteral(" はまだ登録されていません。\n"
                                            "先に「新規にスタートするとき」で登録してください。"),
            kImportTitle);
        return;
    }
    const exchange::ImportRead rows = exchange::forPartner(read, slot);
    if (!rows.usable()) return refuse(rows);
    // The stamp of the log as it is now: a change made meanwhile by another window is
    // refused by the merge instead of being overwritten.
    const disk::FileBytes log = disk::readFileBytes(ctx_.dataFolder, logName);
    if (log.failed()) {
        ctx_.dialogs.warn(q(logName) + QStringLiteral(" を読み込めませんでした。\n"
                                                      "何も取り込んでいません。"),
                          kImportTitle);
        return;
    }
    if (ctx_.dialogs.message(
            QStringLiteral("%1 件の測定が見つかりました。\n%2 の記録に取り込みますか？")
                .arg(rows.rows.size())
                .arg(partners[pick]),
            kImportTitle, widgets::Icon::Question, widgets::Buttons::YesNo) != widgets::Answer::Yes)
        return;
    const exchange::MergeResult merged =
        exchange::mergeImport(ctx_.dataFolder, slot, rows.rows, log.stamp);
    if (merged.tooMany) {
        ctx_.dialogs.warn(
            QStringLiteral("測定が上限（%1件）を超えるため、読み込みを中止しました。\n"
                           "データは変更されていません。")
                .arg(store::kMaxRecords),
            kImportTitle);
        return;
    }
    if (merged.status == disk::WriteStatus::Stale) {
        common::warnStale(ctx_, logName);
        logsChangedIn(slot);
        return;
    }
    if (merged.status == disk::WriteStatus::Refused) {
        ctx_.dialogs.warn(
            QStringLiteral("記録に保存できない文字を含む行があるため、読み込みを中止しました。\n"
                           "データは変更されていません。"),
            kImportTitle);
        return;
    }
    if (common::tellBlocked(ctx_, merged.status, logName)) return;
    if (merged.status != disk::WriteStatus::Ok && !merged.written()) {
        ctx_.dialogs.warn(q(logName) + QStringLiteral(" に") + kWriteFailed +
                              QStringLiteral("\nデータは変更されていません。"),
                          kImportTitle);
        return;
    }
    if (merged.taken > 0) logsChangedIn(slot);
    common::written(ctx_, merged.status, logName);
    QString text = partners[pick] + QStringLiteral("の記録：") +
                   q(exchange::mergeCountsText(merged, rows.otherPartnerRows));
    if (!merged.backupName.empty())
        text += QStringLiteral("\n取り込む前の記録はバックアップ/") + q(merged.backupName) +
                QStringLiteral(" にあります。");
    ctx_.dialogs.inform(text, kImportTitle);
}

void DataExchangeGroup::openFolder() {
    const QString folder = folderText(ctx_.dataFolder);
    if (!widgets::folderOpener()(QUrl::fromLocalFile(folder)))
        ctx_.dialogs.warn(folder + QStringLiteral("\nを開けませんでした。"),
                          QStringLiteral("フォルダを開く"));
}

void DataExchangeGroup::restore() {
    const std::vector<store::BackupEntry> backups = store::listBackups(ctx_.dataFolder);
    if (backups.empty()) {
        ctx_.dialogs.warn(QStringLiteral("バックアップがまだありません。\n"
                                         "バックアップは毎日最初の起動のときに作られます。"),
                          kRestoreTitle);
        return;
    }
    QStringList captions;
    for (const store::BackupEntry& entry : backups) captions << q(store::backupCaption(entry));
    const int pick = ctx_.dialogs.choose(QStringLiteral("戻すバックアップを選んでください。"),
                                         kRestoreTitle, captions);
    if (pick < 0) return;
    const store::BackupEntry& chosen = backups[std::size_t(pick)];
    const std::array<std::string, 2> names{store::partnerCaption(ctx_.profileOf(1), 1),
                                           store::partnerCaption(ctx_.profileOf(2), 2)};
    if (ctx_.dialogs.message(
            q(store::restoreQuestion(chosen, store::currentWeighings(ctx_.dataFolder), names)),
            kRestoreTitle, widgets::Icon::Question,
            widgets::Buttons::YesNo) != widgets::Answer::Yes)
        return;
    const store::RestoreResult result =
        store::restoreBackup(ctx_.dataFolder, chosen.name, ctx_.clock.today());
    if (common::tellBlocked(ctx_, result.status, result.file)) return;
    if (!result.written()) {
        QString text = result.status == disk::WriteStatus::ReadFailed
                           ? q(result.file) + QStringLiteral(" を読み込めませんでした。")
                           : QStringLiteral("データファイルを") + kWriteFailed;
        if (result.pending == disk::PendingChange::None)
            text += QStringLiteral("\nデータは変更されていません。");
        else
            text += QStringLiteral("\n次にペアリー☆ログを起動したときに書き換えを終わらせます。");
        ctx_.dialogs.warn(text, kRestoreTitle);
        return;
    }
    // Every screen shows the restored data before the message says it is back.
    {
        // One reading of each log for every screen that follows.
        const session::Session::Refresh refresh(ctx_.session);
        ctx_.noteDataChanged(0);
        emit dataFilesReplaced();
    }
    common::written(ctx_, result.status, chosen.name);
    ctx_.dialogs.inform(q(store::restoreResultText(chosen, result.keptIn)), kRestoreTitle);
}

}  // namespace pairly::gui::settings
