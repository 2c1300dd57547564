#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace velmora::testing {

/// Answers the next modal message box: as soon as one is up (polled from the event loop the
/// box runs), `answer` gets it. Gives up after about two seconds, so a box that never comes
/// leaves `answered` false and the test that expected it fails instead of hanging.
class ModalAnswer {
  public:
    explicit ModalAnswer(std::function<void(QMessageBox&)> answer) : answer_(std::move(answer)) {
        Poll(200);
    }
    bool answered() const { return answered_; }

  private:
    void Poll(int triesLeft) {
        QTimer::singleShot(10, &context_, [this, triesLeft] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                answered_ = true;
                answer_(*box);
            } else if (triesLeft > 0) {
                Poll(triesLeft - 1);
            }
        });
    }

    std::function<void(QMessageBox&)> answer_;
    bool answered_ = false;
    QObject context_;  // stops the polling when the answer goes out of scope
};

}  // namespace velmora::testing
