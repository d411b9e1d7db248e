#pragma once
// A paint device that keeps what is drawn on it, in device coordinates: lines, texts (one
// entry per drawText call) and images. For checking printed pages without a printer.
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPixmap>
#include <QTransform>
#include <memory>
#include <vector>

namespace pairly::testing {

class RecordingEngine : public QPaintEngine {
public:
    struct Text {
        QPointF origin;  // the text's start on its baseline
        QString text;
        double width;  // as drawn, after any squeezing
        double pixelSize;
    };
    struct Image {
        QRectF target;
        QImage image;
    };

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform) {
            transform_ = state.transform();
            ++generation_;
        }
    }
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i) this->lines.push_back(transform_.map(lines[i]));
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i) this->lines.push_back(transform_.map(QLineF(lines[i])));
    }
    // Runs of one text drawn under one transform are joined into one text.
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const double width = item.width() * transform_.m11();
        if (!texts.empty() && textGeneration_ == generation_) {
            texts.back().text += item.text();
            texts.back().width += width;
            return;
        }
        textGeneration_ = generation_;
        texts.push_back({transform_.map(p), item.text(), width,
                         double(item.font().pixelSize()) * transform_.m22()});
    }
    void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF&) override {
        images.push_back({transform_.mapRect(r), pm.toImage()});
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF&,
                   Qt::ImageConversionFlags) override {
        images.push_back({transform_.mapRect(r), image});
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

    std::vector<QLineF> lines;
    std::vector<Text> texts;
    std::vector<Image> images;

private:
    QTransform transform_;
    long generation_ = 0, textGeneration_ = -1;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(QSize size, int dpi) : size_(size), dpi_(dpi) {}
    ~RecordingDevice() override = default;
    QPaintEngine* paintEngine() const override { return engine_.get(); }
    RecordingEngine& recorded() { return *engine_; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return size_.width() * 254 / (10 * dpi_);
            case PdmHeightMM:
                return size_.height() * 254 / (10 * dpi_);
            case PdmNumColors:
                return 0x7fffffff;
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return dpi_;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            default:
                return 0;
        }
    }

private:
    QSize size_;
    int dpi_;
    std::unique_ptr<RecordingEngine> engine_ = std::make_unique<RecordingEngine>();
};

}  // namespace pairly::testing
