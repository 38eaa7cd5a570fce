#pragma once
// The main window's picture: each frame of the turning service volume is
// drawn whole into an off-screen image and then shown; with the animation off
// or the window inactive only the background colour shows.
#include <vector>

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "crv/main/app/service_volume_picture.h"

namespace crv::main::qt {

class ServiceVolumeView : public QWidget {
    Q_OBJECT
public:
    explicit ServiceVolumeView(QWidget* parent = nullptr);

    // The timer runs only while `running` is set.
    void setRunning(bool running);
    bool running() const { return timer_.isActive(); }
    // Draws the next frame now (one timer tick).
    void tick();
    // Shows only the background colour.
    void clearPicture();
    bool showsFrame() const { return !frame_.isNull(); }
    const AnimationState& animation() const { return animation_; }
    int outlinePointCount() const { return static_cast<int>(outline_.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawFrame();

    std::vector<OutlinePoint> outline_;
    AnimationState animation_;
    QTimer timer_;
    QImage frame_;
};

}  // namespace crv::main::qt
