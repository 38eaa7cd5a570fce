#pragma once
// The plot parameters dialog ("CRV Plot Parameters") and the display options
// dialog (" Display Options"). Thin windows over the controllers of
// plot_parameters.h and display_options.h.
#include "crv/viewers/display_options.h"
#include "crv/viewers/plot_parameters.h"

#include <QDialog>

#include <array>
#include <functional>

class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace crv::viewers {

class PlotParametersDialog : public QDialog {
    Q_OBJECT
public:
    PlotParametersDialog(const common::AppState& state, QWidget* parent = nullptr);
    PlotParametersController& controller() { return controller_; }
    QSpinBox* spin(Band band, BandValue which) const;
    QToolButton* swatch(int k) const { return swatches_[k]; }
    QLabel* label(Band band, int k) const { return band == Band::Interference ? intLabels_[k] : navLabels_[k]; }
    QGroupBox* navaidFrame() const { return navFrame_; }
    // What a drop of swatch `from` onto swatch `to` does.
    void dropSwatchOnto(int from, int to);
    // Shows the controller's values again.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PlotParametersController controller_;
    const common::AppState& state_;
    std::array<QToolButton*, common::kLevelClasses> swatches_{};
    std::array<QLabel*, common::kLevelClasses> intLabels_{}, navLabels_{};
    std::array<QSpinBox*, 4> spins_{};
    QGroupBox* navFrame_ = nullptr;
};

// ModifyParameters: shows the dialog modally; OK stores and saves what
// changed. Returns Changed. run replaces exec() in tests.
bool ModifyParameters(common::AppState& state, platform::SettingsStore& store, QWidget* parent = nullptr,
                      const std::function<int(PlotParametersDialog&)>& run = {});

class DisplayOptionsDialog : public QDialog {
    Q_OBJECT
public:
    DisplayOptionsDialog(const DisplaySettings& asked, QWidget* parent = nullptr);
    QRadioButton* printer() const { return printer_; }
    QRadioButton* decibels() const { return decibels_; }
    QRadioButton* polar() const { return polar_; }
    QGroupBox* frame(int i) const { return frames_[i]; }
    DisplaySettings chosen() const;

private:
    std::array<QGroupBox*, 3> frames_{};
    QRadioButton* printer_ = nullptr;
    QRadioButton* decibels_ = nullptr;
    QRadioButton* polar_ = nullptr;
};

// GetSettings: asks the questions whose flags are set; on return the flags
// are the answers, or, when cancelled, what was passed in.
void GetSettings(bool& canceled, DisplaySettings& settings, QWidget* parent = nullptr,
                 const std::function<int(DisplayOptionsDialog&)>& run = {});

}  // namespace crv::viewers
