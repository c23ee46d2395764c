#pragma once

#include "data/database_error.h"

#include <QWidget>
#include <functional>

class QToolButton;
class TDataLink;
class TDataSet;
class TDataSource;

enum class TNavigateBtn {
    nbFirst,
    nbPrior,
    nbNext,
    nbLast,
    nbInsert,
    nbDelete,
    nbEdit,
    nbPost,
    nbCancel,
    nbRefresh
};

// A set of navigator buttons, as a bit mask of TNavigateBtn.
using TNavButtonSet = int;
constexpr TNavButtonSet navButton(TNavigateBtn button) {
    return 1 << int(button);
}
// first, prior, next, last: the browsing lists
constexpr TNavButtonSet nbMoveButtons = navButton(TNavigateBtn::nbFirst) | navButton(TNavigateBtn::nbPrior) |
                                        navButton(TNavigateBtn::nbNext) | navButton(TNavigateBtn::nbLast);
// every button: the editable tables
constexpr TNavButtonSet nbAllButtons = (1 << 10) - 1;

// The navigator bar of a data source. The moving buttons follow the dataset's Bof and Eof; insert, delete,
// edit, post and cancel work on a writable table only and follow its state. It shows only the visible buttons
// (the moving ones unless the screen asks for more).
//
// A failed action (say a post the database refuses) leaves the dataset as it was and is reported through
// dataError; BeforeAction, when set, can stop an action (a screen asks there before a delete).
class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit TDBNavigator(QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    TDataSet* DataSet() const;

    void SetVisibleButtons(TNavButtonSet buttons);
    TNavButtonSet VisibleButtons() const { return visible_; }

    QToolButton* Button(TNavigateBtn button) const { return buttons_[int(button)]; }
    // Does what the button does, as a click on it would (only when it is enabled).
    void BtnClick(TNavigateBtn button);

    // Asked before each action; returning false skips it.
    std::function<bool(TNavigateBtn)> BeforeAction;

signals:
    // An action was carried out.
    void clicked(TNavigateBtn button);
    void dataError(const EDatabaseError& error);

private:
    void updateButtons();
    void run(TNavigateBtn button);

    TDataLink* link_;
    QToolButton* buttons_[10];
    TNavButtonSet visible_ = nbMoveButtons;
};
