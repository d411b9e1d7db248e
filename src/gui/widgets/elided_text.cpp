#include "gui/widgets/elided_text.h"

#include <QFontMetrics>
#include <algorithm>

namespace pairly::gui::widgets {

QString boundedText(const QString& text, int maxChars) {
    qsizetype end = 0;
    for (int chars = 0; end < text.size(); ++chars) {
        if (chars == maxChars) return text.left(end) + QChar(0x2026);
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    }
    return text;
}

int boundedWidth(const QFontMetrics& metrics, const QString& text, int maximum) {
    return std::min(metrics.horizontalAdvance(boundedText(text)), maximum);
}

QString elideToRoom(const QFontMetrics& metrics, const QString& text, int room) {
    return metrics.elidedText(boundedText(text), Qt::ElideRight, std::max(room, 0));
}

ElidedTexts elideEach(const QFontMetrics& metrics, const QStringList& texts, int room) {
    ElidedTexts out;
    bool cut = false;
    for (const QString& text : texts) {
        out.shown << elideToRoom(metrics, text, room);
        cut = cut || out.shown.back() != text;
    }
    if (!cut) return out;
    QStringList tips;
    for (const QString& text : texts) tips << boundedText(text, kTipTextChars);
    out.tip = tips.join(QChar('\n'));
    return out;
}

}  // namespace pairly::gui::widgets
