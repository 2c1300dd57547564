#include "GroundedPlot.h"

#include <QImage>
#include <QPaintEvent>
#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace velmora {

/// The plot's one paint buffer: two images without alpha, cleared to the plot's ground. Each
/// redraw goes into the image the redraw before the last one used, so the other still holds
/// the drawing the plot showed until now.
class GroundBuffer : public QCPAbstractPaintBuffer {
  public:
    GroundBuffer(const GroundedPlot& plot, const QSize& size, double devicePixelRatio)
        : QCPAbstractPaintBuffer(size, devicePixelRatio), plot_(plot) {
        GroundBuffer::reallocateBuffer();
    }

    QCPPainter* startPainting() override {
        // The plot's painter switches antialiasing on and off per element itself.
        return new QCPPainter(&images_[current_]);
    }

    void draw(QCPPainter* painter) const override {
        if (painter != nullptr && painter->isActive()) {
            painter->drawImage(0, 0, images_[current_]);
        }
    }

    /// The plot clears its buffers to transparency before each redraw; this one takes the
    /// ground colour instead, which is what a transparent buffer shows over the ground.
    void clear(const QColor& /*color*/) override {
        current_ = 1 - current_;
        images_[current_].fill(plot_.Ground());
    }

    /// The part of the plot (in its own coordinates) whose pixels the last redraw changed;
    /// nothing when it drew the same picture again. After a change of size, all of it.
    std::optional<QRect> Changed() {
        const QImage& now = images_[current_];
        const QImage& before = images_[1 - current_];
        const QRect whole(QPoint(0, 0), mSize);
        if (std::exchange(wholeChanged_, false) || now.size() != before.size()) {
            return whole;
        }
        int top = now.height();
        int bottom = -1;
        int left = now.width();
        int right = -1;
        const auto width = static_cast<std::size_t>(now.width());
        for (int y = 0; y < now.height(); ++y) {
            const auto* a = reinterpret_cast<const quint32*>(now.constScanLine(y));
            const auto* b = reinterpret_cast<const quint32*>(before.constScanLine(y));
            if (std::memcmp(a, b, width * sizeof(quint32)) == 0) {
                continue;
            }
            top = std::min(top, y);
            bottom = y;
            int first = 0;
            while (a[first] == b[first]) {
                ++first;
            }
            int last = now.width() - 1;
            while (a[last] == b[last]) {
                --last;
            }
            left = std::min(left, first);
            right = std::max(right, last);
        }
        if (bottom < 0) {
            return std::nullopt;
        }
        // Device pixels to the plot's own, rounded outwards.
        const double ratio = mDevicePixelRatio;
        return QRectF(left / ratio, top / ratio, (right + 1 - left) / ratio,
                      (bottom + 1 - top) / ratio)
            .toAlignedRect()
            .intersected(whole);
    }

  protected:
    void reallocateBuffer() override {
        setInvalidated();
        for (QImage& image : images_) {
            image = QImage(mSize * mDevicePixelRatio, QImage::Format_RGB32);
            image.setDevicePixelRatio(mDevicePixelRatio);
        }
        wholeChanged_ = true;
    }

  private:
    const GroundedPlot& plot_;
    QImage images_[2];
    int current_ = 0;
    bool wholeChanged_ = true;
};

GroundedPlot::GroundedPlot(QWidget* parent)
    : QCustomPlot(parent),
      buffer_(new GroundBuffer(*this, viewport().size(), mBufferDevicePixelRatio)) {
    // The plot takes the buffers it finds before it makes its own.
    mPaintBuffers.clear();
    mPaintBuffers.append(QSharedPointer<QCPAbstractPaintBuffer>(buffer_));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(this, &QCustomPlot::beforeReplot, this, &GroundedPlot::HoldRepaints);
    connect(this, &QCustomPlot::afterReplot, this, &GroundedPlot::RepaintChanges);
}

void GroundedPlot::HoldRepaints() {
    setAttribute(Qt::WA_UpdatesDisabled, true);
}

void GroundedPlot::RepaintChanges() {
    setAttribute(Qt::WA_UpdatesDisabled, false);
    if (const std::optional<QRect> changed = buffer_->Changed()) {
        repaint(*changed);
    }
}

void GroundedPlot::paintEvent(QPaintEvent* /*event*/) {
    QCPPainter painter(this);
    if (painter.isActive()) {
        buffer_->draw(&painter);
    }
}

}  // namespace velmora
