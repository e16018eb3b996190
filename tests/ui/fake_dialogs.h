// Answers the main window's questions from queues and records what was asked, so the
// offscreen tests can drive every file flow.
#pragma once

#include <QImage>
#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "ui_dialogs.h"

namespace qiro::test {

class FakeDialogs : public UiDialogs {
 public:
  std::optional<QString> OpenFile(QWidget*, const QString&, const QString& filter) override {
    filters.push_back(filter);
    return Next(files);
  }
  std::optional<QString> SaveFile(QWidget*, const QString& proposed, const QString&) override {
    proposals.push_back(proposed);
    return Next(files);
  }
  bool Question(QWidget*, const QString& caption, const QString& text) override {
    asked.push_back(caption + ": " + text);
    return NextAnswer();
  }
  bool Confirm(QWidget*, const QString& line1, const QString&) override {
    asked.push_back(line1);
    return NextAnswer();
  }
  std::optional<QString> InputText(QWidget*, const QString& title, const QString&,
                                   const QString& initial) override {
    inputs.push_back(title + ": " + initial);
    return Next(files);
  }
  void About(QWidget*) override { ++abouts; }
  bool Print(QWidget*, const QImage&) override { return false; }
  bool OpenDocument(const QString&) override { return true; }

  std::deque<std::optional<QString>> files;
  std::deque<bool> answers;
  std::vector<QString> asked, filters, proposals, inputs;  // inputs: title and pre-filled text
  int abouts = 0;

 private:
  std::optional<QString> Next(std::deque<std::optional<QString>>& q) {
    if (q.empty()) return std::nullopt;
    auto v = q.front();
    q.pop_front();
    return v;
  }
  bool NextAnswer() {
    if (answers.empty()) return false;
    const bool v = answers.front();
    answers.pop_front();
    return v;
  }
};

}  // namespace qiro::test
