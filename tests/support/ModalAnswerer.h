#pragma once
// Answers the modal dialogs a test opens, by code and in order. Each answer runs once its
// dialog is the active modal widget; a dialog that does not show, or is still open, when the
// guard time is up fails the test and is closed, so a wrong guess never blocks the run.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <vector>

class TModalAnswerer {
 public:
  explicit TModalAnswerer(std::chrono::milliseconds Guard = std::chrono::seconds(10))
      : FGuard(Guard) {
    FClock.start();
    QObject::connect(&FPoll, &QTimer::timeout, [this] { Poll(); });
    FPoll.start(10);
  }
  ~TModalAnswerer() {
    if (!FAnswers.empty()) ADD_FAILURE() << FAnswers.size() << " expected dialog(s) never shown";
  }
  TModalAnswerer(const TModalAnswerer&) = delete;
  TModalAnswerer& operator=(const TModalAnswerer&) = delete;

  // The next dialog to show must be a TDialog; Answer must close it.
  template <class TDialog>
  void Answer(std::function<void(TDialog&)> Answer) {
    FAnswers.push_back([Answer](QWidget* Widget) {
      auto* Dialog = qobject_cast<TDialog*>(Widget);
      // Queued, so that this poll keeps guarding while the answer runs a nested dialog.
      if (Dialog)
        QMetaObject::invokeMethod(
            Dialog, [Dialog, Answer] { Answer(*Dialog); }, Qt::QueuedConnection);
      return Dialog != nullptr;
    });
  }

 private:
  void Poll() {
    QWidget* Modal = QApplication::activeModalWidget();
    if (FClock.hasExpired(FGuard.count())) {
      if (!FExpired)
        ADD_FAILURE() << "a modal dialog was missing or still open after the guard time";
      FExpired = true;
      FAnswers.clear();
      if (auto* Dialog = qobject_cast<QDialog*>(Modal))
        Dialog->reject();
      else if (Modal)
        Modal->close();
      return;
    }
    if (!Modal || FAnswers.empty()) return;
    if (std::find(FAnswered.begin(), FAnswered.end(), Modal) != FAnswered.end()) return;
    if (!FAnswers.front()(Modal)) return;
    FAnswered.emplace_back(Modal);
    FAnswers.pop_front();
  }

  std::chrono::milliseconds FGuard;
  QElapsedTimer FClock;
  QTimer FPoll;
  bool FExpired = false;
  std::deque<std::function<bool(QWidget*)>> FAnswers;
  std::vector<QPointer<QWidget>> FAnswered;
};
