#include "gui/entry/day_count_widget.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "gui/widgets/back_colour.h"
#include "gui/widgets/icons.h"

namespace pairly::gui::entry {

DayCountWidget::DayCountWidget(int slot, QWidget* parent) : QWidget(parent) {
    const QString n = QString::number(slot);
    setObjectName("dayCount" + n);
    label_ = new QLabel(this);
    label_->setObjectName("lblUser" + n);
    label_->setAlignment(Qt::AlignCenter);
    label_->setFixedSize(32, 28);
    label_->setFrameShape(QFrame::Panel);
    label_->setFrameShadow(QFrame::Sunken);
    const struct {
        const char* name;
        const char* tip;
        widgets::Picture picture;
    } pictures[4] = {{"imgNon", "未登録", widgets::Picture::NoEntrySign},
                     {"imgKura", "ムスッ", widgets::Picture::SulkyFace},
                     {"imgNi", "ニコ", widgets::Picture::SmilingFace},
                     {"imgWarai", "すごくニコニコ", widgets::Picture::LaughingFace}};
    auto* cell = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        auto* picture = widgets::pictureLabel(
            pictures[i].name + n, QString::fromUtf8(pictures[i].tip), pictures[i].picture, this);
        picture->setVisible(i == 0);
        cell->addWidget(picture, 0, 0);
        pictures_[i] = picture;
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    row->addWidget(label_);
    row->addLayout(cell);
}

void DayCountWidget::render(const pairly::entry::DayCount& count) {
    label_->setText(QString::fromStdString(count.text));
    widgets::setBackColour(label_, widgets::toQColor(count.colour));
    for (QLabel* picture : pictures_) picture->hide();
    pictures_[std::clamp(count.pictureIndex, 0, 3)]->show();
}

}  // namespace pairly::gui::entry
