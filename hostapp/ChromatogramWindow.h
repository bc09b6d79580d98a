// The host's chromatogram window behind "Main/OpenAssayFile": one tab per channel with the signal
// drawn, its peaks marked and named, and the channel's peak table under it.
#pragma once

#include "assay/VeltraFile4.h"

#include <QWidget>

class QTabWidget;

class ChromatogramWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window owned by `owner`, deleted when closed.
    ChromatogramWindow(const AssayPassport& passport, const std::list<AssayChannel>& channels,
                       QWidget* owner);

    QTabWidget* channelTabs;
};
