#include "GroundedPlot.h"

#include <QImage>

namespace velmora {
namespace {

/// The plot's one paint buffer: an image without alpha, cleared to the plot's ground.
class GroundBuffer : public QCPAbstractPaintBuffer {
  public:
    GroundBuffer(const GroundedPlot& plot, const QSize& size, double devicePixelRatio)
        : QCPAbstractPaintBuffer(size, devicePixelRatio), plot_(plot) {
        GroundBuffer::reallocateBuffer();
    }

    QCPPainter* startPainting() override {
        // The plot's painter switches antialiasing on and off per element itself.
        return new QCPPainter(&image_);
    }

    void draw(QCPPainter* painter) const override {
        if (painter != nullptr && painter->isActive()) {
            painter->drawImage(0, 0, image_);
        }
    }

    /// The plot clears its buffers to transparency before each redraw; this one takes the
    /// ground colour instead, which is what a transparent buffer shows over the ground.
    void clear(const QColor& /*color*/) override { image_.fill(plot_.Ground()); }

  protected:
    void reallocateBuffer() override {
        setInvalidated();
        image_ = QImage(mSize * mDevicePixelRatio, QImage::Format_RGB32);
        image_.setDevicePixelRatio(mDevicePixelRatio);
    }

  private:
    const GroundedPlot& plot_;
    QImage image_;
};

}  // namespace

GroundedPlot::GroundedPlot(QWidget* parent) : QCustomPlot(parent) {
    // The plot takes the buffers it finds before it makes its own.
    mPaintBuffers.clear();
    mPaintBuffers.append(QSharedPointer<QCPAbstractPaintBuffer>(
        new GroundBuffer(*this, viewport().size(), mBufferDevicePixelRatio)));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GroundedPlot::paintEvent(QPaintEvent* /*event*/) {
    QCPPainter painter(this);
    if (painter.isActive()) {
        for (const QSharedPointer<QCPAbstractPaintBuffer>& buffer : mPaintBuffers) {
            buffer->draw(&painter);
        }
    }
}

}  // namespace velmora
