#include "gui/shell/import_controller.h"

#include "core/exchange/predecessor_import.h"

namespace pairly::gui::shell {

namespace {

class DialogPrompter : public exchange::ImportPrompter {
public:
    explicit DialogPrompter(common::AppContext& ctx) : dialogs_(ctx.dialogs), ctx_(ctx) {}
    std::string ask(const std::string& prompt, const std::string& title) override {
        return dialogs_.input(QString::fromStdString(prompt), QString::fromStdString(title))
            .toStdString();
    }
    void warn(const std::string& text, const std::string& title) override {
        dialogs_.warn(QString::fromStdString(text), QString::fromStdString(title));
    }
    void inform(const std::string& text, const std::string& title) override {
        dialogs_.inform(QString::fromStdString(text), QString::fromStdString(title));
    }
    bool confirm(const std::string& text, const std::string& title) override {
        return dialogs_.message(QString::fromStdString(text), QString::fromStdString(title),
                                widgets::Icon::Question,
                                widgets::Buttons::YesNo) == widgets::Answer::Yes;
    }
    void warnLogUnread(const std::string& text, const std::string& title) override {
        warn(text, title);
        // The screens filled next need not say it again.
        if (ctx_.startupInProgress) ctx_.startupLogWarned[0] = true;
    }

private:
    widgets::Dialogs& dialogs_;
    common::AppContext& ctx_;
};

}  // namespace

void runPredecessorImport(common::AppContext& ctx) {
    DialogPrompter prompter(ctx);
    exchange::runPredecessorImport(ctx.dataFolder, prompter);
    // The import may have written partner 1's log.
    ctx.noteDataChanged(1);
}

}  // namespace pairly::gui::shell
