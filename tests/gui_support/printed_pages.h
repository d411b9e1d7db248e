#pragma once
// Pages that would have gone to the printer, drawn on a recording device instead, and the
// PDF files a print left in a folder.
#include <QPainter>
#include <memory>
#include <string>
#include <vector>

#include "gui/printing/print_controller.h"
#include "gui_support/recording_device.h"
#include "support/temp_folder.h"

namespace pairly::testing {

struct RecordedPage {
    gui::widgets::PrintDestination destination;
    gui::widgets::PageOrientation orientation;
    std::unique_ptr<RecordingDevice> device;
};

// A page printer that records each page into `pages` and reports `succeed`. Pages go onto
// an A4-sized device at 1440 dpi, so a device pixel is one twip.
inline gui::printing::PrintController::PagePrinter pageRecorder(std::vector<RecordedPage>& pages,
                                                                bool succeed = true) {
    return
        [&pages, succeed](const gui::widgets::PrintDestination& d, gui::widgets::PageOrientation o,
                          const gui::widgets::PageDrawer& draw) {
            auto device = std::make_unique<RecordingDevice>(QSize(11906, 16838), 1440);
            QPainter painter(device.get());
            draw(painter, QRectF(0, 0, 11906, 16838), 1440, 1440);
            painter.end();
            pages.push_back({d, o, std::move(device)});
            return succeed;
        };
}

inline std::vector<std::string> pdfFileNames(const TempFolder& folder) {
    std::vector<std::string> names;
    for (const auto& n : folder.fileNames())
        if (n.size() > 4 && n.substr(n.size() - 4) == ".pdf") names.push_back(n);
    return names;
}

}  // namespace pairly::testing
