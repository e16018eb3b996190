// Answers the main window's questions from queues and records what was asked, so the
// offscreen tests can drive every file flow.
#pragma once

#include <QPrinter>
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
  // Answers from saveChoices while there are any, else Yes or No from answers.
  SaveChoice AskSave(QWidget* parent, const QString& line1, const QString& line2) override {
    if (saveChoices.empty()) return UiDialogs::AskSave(parent, line1, line2);
    asked.push_back(line1);
    const SaveChoice c = saveChoices.front();
    saveChoices.pop_front();
    return c;
  }
  std::optional<QString> InputText(QWidget*, const QString& title, const QString&,
                                   const QString& initial) override {
    inputs.push_back(title + ": " + initial);
    return Next(files);
  }
  void About(QWidget*) override { ++abouts; }
  // Prints to printTo as PDF when it is set, else behaves as a cancelled preview.
  bool Print(QWidget*, QPrinter& printer, const std::function<void(QPrinter*)>& paint) override {
    ++prints;
    if (printTo.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    paint(&printer);
    return true;
  }
  bool OpenDocument(const QString&) override { return true; }

  std::deque<std::optional<QString>> files;
  std::deque<bool> answers;
  std::deque<SaveChoice> saveChoices;
  std::vector<QString> asked, filters, proposals, inputs;  // inputs: title and pre-filled text
  int abouts = 0, prints = 0;
  QString printTo;

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
