#pragma once
// The main window: partner buttons, menu row and the eight screens in a stacked widget, of
// which at most one is visible. The visible panel is the only record of the current screen;
// the selected partner is the session's. The screens follow the session themselves: the
// window only shows the one chosen.
#include <QMainWindow>
#include <QPointer>
#include <QTime>
#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "core/shell/help_texts.h"
#include "gui/common/app_context.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QStackedWidget;

namespace pairly::gui::common {
class Screen;
class SituationList;
}  // namespace pairly::gui::common
namespace pairly::gui::entry {
class InputScreen;
}  // namespace pairly::gui::entry
namespace pairly::gui::memo {
class MemoScreen;
}  // namespace pairly::gui::memo
namespace pairly::gui::printing {
class PrintController;
}  // namespace pairly::gui::printing
namespace pairly::gui::settings {
class SettingsScreen;
}  // namespace pairly::gui::settings
namespace pairly::gui::comparison {
class ComparisonScreen;
}  // namespace pairly::gui::comparison
namespace pairly::gui::trend {
class TrendScreen;
class AnalysisScreen;
}  // namespace pairly::gui::trend
namespace pairly::gui::widgets {
class HelpViewer;
}  // namespace pairly::gui::widgets
namespace pairly::gui::phone {
class PhoneService;
}  // namespace pairly::gui::phone

namespace pairly::gui::shell {

class SplashWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(std::filesystem::path dataFolder, widgets::Dialogs& dialogs, widgets::Clock& clock,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The launch sequence: splash, profiles, preferences, screens, comparison screen shown.
    void startUp();

    // Handlers of cmdUser1 / cmdUser2: nothing when the slot is already selected.
    void selectPartner(int slot);
    // Re-reads whichever screen is visible, as a change of partner does.
    void refreshVisibleScreen();
    // After a restore replaced the data files: profiles, preferences, situations, memo and
    // the visible screen read again.
    void reloadDataFiles();
    void hideAllScreens();

    // Handler of a menu button: nothing when the screen is already visible.
    void switchToScreen(pairly::shell::Screen screen);
    // The visible menu screen; false when none is visible.
    bool visibleScreen(pairly::shell::Screen* screen) const;

    // Shows helpText when the help tour is on.
    void DSP_HELP();
    void setHelpText(const std::string& text) { helpText_ = text; }
    // Sets the text and shows it when the tour is on.
    void explain(const std::string& text);

    // cmdHelp: the help document in a window owned by this one.
    void openHelp();
    void closeHelpWindows();
    // cmdOwari: closes the help windows and this window, ending the program.
    void quitProgram();

    common::AppContext& context() { return ctx_; }
    entry::InputScreen* inputScreen() const { return inputScreen_; }
    settings::SettingsScreen* settingsScreen() const { return settingsScreen_; }
    comparison::ComparisonScreen* comparisonScreen() const { return comparisonScreen_; }
    trend::TrendScreen* trendScreen() const { return trendScreen_; }
    trend::AnalysisScreen* analysisScreen() const { return analysisScreen_; }
    memo::MemoScreen* memoScreen() const { return memoScreen_; }
    printing::PrintController& printing() const { return *printing_; }
    QWidget* screenPanel(pairly::shell::Screen screen) const;
    // The help window, once opened.
    widgets::HelpViewer* helpViewer() const;
    // The phone page: its server, settings group and tray.
    gui::phone::PhoneService* phoneService() const { return phone_; }

signals:
    // Emitted when the window closes; main() ends the event loop on it.
    void programEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static constexpr int index(pairly::shell::Screen s) { return static_cast<int>(s); }

    void buildWindow();
    QWidget* buildTopRow();
    // The list and calendar screens, then every screen into the stack.
    void addScreens();
    // Shows one screen (its menu button checked); the others are hidden.
    void showScreen(pairly::shell::Screen screen);
    // Follows the session: the partner buttons, their captions and the title.
    void sessionChanged(const session::Event& event);
    void setPartnerButtonSelected(int slot);
    QPushButton* partnerButton(int slot) const { return slot == 2 ? cmdUser2_ : cmdUser1_; }
    void loadPartnerProfile(int slot);
    void showPartnerProfile(int slot);
    void newStartEntered(int slot);
    void readPreferences();
    void onHelpTourToggled(bool checked);
    void letPaint();
    // A weighing came from a phone: a word in the status line (the screens follow the
    // session).
    void followPhoneSave(const QString& nickname, const QTime& time);

    common::AppContext ctx_;
    std::string helpText_;

    // The stored situation list, which the screens' lists show.
    common::SituationList* situations_ = nullptr;

    entry::InputScreen* inputScreen_ = nullptr;
    settings::SettingsScreen* settingsScreen_ = nullptr;
    comparison::ComparisonScreen* comparisonScreen_ = nullptr;
    trend::TrendScreen* trendScreen_ = nullptr;
    trend::AnalysisScreen* analysisScreen_ = nullptr;
    memo::MemoScreen* memoScreen_ = nullptr;
    printing::PrintController* printing_ = nullptr;

    QPushButton* cmdUser1_ = nullptr;
    QPushButton* cmdUser2_ = nullptr;
    QButtonGroup* partnerButtons_ = nullptr;
    QButtonGroup* menuButtons_ = nullptr;
    QCheckBox* chkHelp_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    // In the order of pairly::shell::Screen; each one's menu button is in menuButtons_
    // under the same index.
    std::array<common::Screen*, pairly::shell::kScreenCount> screens_{};

    std::unique_ptr<SplashWindow> splash_;
    QPointer<widgets::HelpViewer> helpViewer_;
    gui::phone::PhoneService* phone_ = nullptr;
    // lblPhoneStatus: the word of a phone's save, shown for a few seconds.
    QLabel* phoneWord_ = nullptr;
    // cmdOwari or the tray's 終了: the window closes instead of going into the tray.
    bool quitting_ = false;

    // Whose diary is shown (main_window_partner.cpp).
    QWidget* buildWhoLabel(QWidget* row);
    void markSelectedPartner(int slot);
    QLabel* lblWho_ = nullptr;
};

}  // namespace pairly::gui::shell
