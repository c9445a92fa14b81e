#pragma once

#include "jet/Dataset.h"

namespace katarix::jet {

// Keeps a dataset's controls from following it while its rows are walked, also when the walk
// fails: they follow again when the guard ends.
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset &dataset) : m_dataset(dataset) { m_dataset.disableControls(); }
    ~ControlsDisabled() { m_dataset.enableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    Dataset &m_dataset;
};

} // namespace katarix::jet
