// A shown main window with one VYN/QD document open, its view at ratio 1 and the drag tool.
#pragma once

#include "document_window.h"
#include "main_window.h"
#include "vyn_view.h"

struct OpenedWindow {
    explicit OpenedWindow(const QString& path, QSize size = {700, 500}) {
        window.resize(size);
        window.show();
        window.openDocument(path);
        view().setRatio(1.0f);
    }
    viewer::VynView& view() { return *window.activeDocument()->view(); }
    viewer::MainWindow window;
};
