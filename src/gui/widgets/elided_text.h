#pragma once
// Texts of any length in controls of a bounded size. A control shows its text cut to the
// room it has, ending in "…"; only a bounded beginning of a text is ever measured or laid
// out, so that a text of megabytes costs what a line costs and never widens a window.
#include <QString>
#include <QStringList>

class QFontMetrics;

namespace pairly::gui::widgets {

// Characters of a text that a control lays out: more than the widest control shows.
constexpr int kShownTextChars = 1000;
// Characters of a text that a tooltip shows: a nickname whole, a long comment in part.
constexpr int kTipTextChars = 4000;

// The first `maxChars` characters of `text` (a pair of surrogates counts as one), with
// "…" in place of the rest when there is more.
QString boundedText(const QString& text, int maxChars = kShownTextChars);

// The width `text` asks for in `metrics`, at most `maximum` pixels.
int boundedWidth(const QFontMetrics& metrics, const QString& text, int maximum);

// `text` cut to `room` pixels in `metrics`, ending in "…" when cut; whole when it fits.
QString elideToRoom(const QFontMetrics& metrics, const QString& text, int room);

// Several texts shown side by side in one control (the nicknames of a legend): each cut to
// `room`, and the tip that gives them whole (up to kTipTextChars each), one a line, when
// any of them is cut.
struct ElidedTexts {
    QStringList shown;
    QString tip;
};
ElidedTexts elideEach(const QFontMetrics& metrics, const QStringList& texts, int room);

}  // namespace pairly::gui::widgets
