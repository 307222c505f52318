#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>

#include "riddle/answercode.h"
#include "riddle/elapsedcounter.h"

class QAction;
class QCloseEvent;
class QLabel;
class QTimer;

namespace mindlark {

class LanguagePane;

// The main riddle window ("Form1"): the File menu, the welcome label, the
// one-second elapsed counter and the two language panes, of which exactly one
// is shown. It never ends the program nor opens another window itself: the
// menu's commands are signals. Its timer is named "Timer1"; tests tick it by
// sending that timer a timer event.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Gives the age mirror's text at the moment a code is generated.
    using AgeSource = std::function<QString()>;
    // Shows the refusal for an empty grid: the message box title and its prompt.
    using RefusalPresenter = std::function<void(const QString& title, const QString& prompt)>;

    // Builds the hidden window, fills the riddle texts and starts the timer.
    explicit MainWindow(AgeSource ageText, QWidget* parent = nullptr);

    // Writes the welcome label `nameuser`; the next tick notices any change.
    void setWelcomeCaption(const QString& caption);
    // The welcome label's caption as it reads now.
    QString welcomeCaption() const;

    // Renames the File menu's sign-in item ("Sign In", later "Change User").
    void setSignInCaption(const QString& caption);
    // The sign-in item's caption as it reads now.
    QString signInCaption() const;

    // Chooses nothing on all 50 lists (English rows first, then Arabic) and
    // empties their fields; the code boxes keep their codes.
    void clearAnswerGrids();

    // Ticks counted since the welcome caption last changed.
    std::int64_t elapsed() const { return counter_.value(); }

    // The English pane ("English").
    LanguagePane* englishPane() const { return english_; }
    // The Arabic pane ("ArabicF").
    LanguagePane* arabicPane() const { return arabic_; }
    // The English grid's 25 indexes in grid order.
    GridIndexes englishGrid() const;
    // The Arabic grid's 25 indexes in grid order.
    GridIndexes arabicGrid() const;

    // Replaces how an empty-grid refusal is shown (tests avoid the modal box).
    void setRefusalPresenter(RefusalPresenter presenter);
    // The default refusal: a modal error box with one OK button over `parent`.
    static void showRefusalBox(QWidget* parent, const QString& title, const QString& prompt);

signals:
    // The user chose "New User".
    void newUserRequested();
    // The user chose "Sign In" / "Change User".
    void signInRequested();
    // The user chose "Exit" or closed the window; the program should end now.
    void exitRequested();

protected:
    // Closing the window by its title bar means Exit; the flow does the ending.
    void closeEvent(QCloseEvent* event) override;

private:
    // The creation step: counter at 0 against the label's current caption, then the texts.
    void startCountingAndFillTexts();
    // Builds the File menu tree with its design names.
    void buildMenu();
    // One tick of the one-second timer: counts on while the welcome caption is
    // unchanged, restarts on a change.
    void onTick();
    // A generate button: the pane's answer code into its code box, or the refusal.
    void generateCode(LanguagePane& pane);
    // "&Arabic": shows the Arabic pane and offers "&English" in its place.
    void showArabicPane();
    // "&English": shows the English pane and offers "&Arabic" in its place.
    void showEnglishPane();

    AgeSource ageText_;
    RefusalPresenter refusal_;
    ElapsedCounter counter_;
    QLabel* welcome_ = nullptr;
    LanguagePane* english_ = nullptr;
    LanguagePane* arabic_ = nullptr;
    QTimer* timer_ = nullptr;
    QAction* signInAction_ = nullptr;
    QAction* showEnglishAction_ = nullptr;
    QAction* showArabicAction_ = nullptr;
};

}  // namespace mindlark
