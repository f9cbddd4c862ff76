#pragma once

#include <QToolButton>

#include <functional>

class QLineEdit;

namespace fai {

class DataSource;

// A lookup button beside a code box. A click runs OnBeforePesq (where the screen loads the
// rows into the dataset of DataSource; clearing its flag shows no list), says EmptyError
// when there are no rows, and otherwise opens the list of the rows (LookupDialog, titled
// Title) as a modal screen. When the user picks a row it is the current record of the
// dataset while OnAfterPesq runs, and the focus goes to the Associate box; a cancelled list
// puts the dataset back on the record it was on. A screen that sets OnClick runs its own
// action instead of the list.
class TBtnPesquisa : public QToolButton {
    Q_OBJECT
  public:
    explicit TBtnPesquisa(QWidget* parent = nullptr);

    QLineEdit* Associate() const { return associate_; }
    void SetAssociate(QLineEdit* box) { associate_ = box; }
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    fai::DataSource* DataSource() const { return source_; }
    void SetDataSource(fai::DataSource* source) { source_ = source; }
    const QString& EmptyError() const { return emptyError_; }
    void SetEmptyError(const QString& text) { emptyError_ = text; }

    // The lookup, as a click runs it (without OnClick). Returns true when a row was picked;
    // what a handler throws propagates.
    bool Execute();

    std::function<void(bool& show)> OnBeforePesq;
    std::function<void()> OnAfterPesq;
    std::function<void()> OnClick;

  private:
    QLineEdit* associate_ = nullptr;
    QString title_;
    fai::DataSource* source_ = nullptr;
    QString emptyError_;
};

}  // namespace fai
