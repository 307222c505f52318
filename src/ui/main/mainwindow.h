#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
class QCloseEvent;
class QLabel;
class QTimer;

namespace mindlark {

class Game;
class LanguagePane;

// The main riddle window ("Form1"): the File menu, the welcome label, the
// one-second timer and the two language panes, of which exactly one is shown. It
// shows a Game and holds none of its state: every choice on a grid, the greeting
// and each tick go to the game, and a generate button shows the code the game
// makes. It never ends the program nor opens another window itself: the menu's
// commands are signals. Its timer is named "Timer1"; tests tick it by sending
// that timer a timer event.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Shows the refusal for an empty grid: the message box title and its prompt.
    using RefusalPresenter = std::function<void(const QString& title, const QString& prompt)>;

    // Builds the hidden window over `game`, which must outlive it, fills the
    // riddle texts and starts the timer.
    explicit MainWindow(Game& game, QWidget* parent = nullptr);

    // Writes the welcome label `nameuser` and tells the game its new greeting.
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

    // The English pane ("English").
    LanguagePane* englishPane() const { return english_; }
    // The Arabic pane ("ArabicF").
    LanguagePane* arabicPane() const { return arabic_; }

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
    // Puts the four riddle texts into the panes' boxes.
    void fillTexts();
    // Builds the File menu tree with its design names.
    void buildMenu();
    // Tells the game of every choice on `pane`'s lists, from the choices they show now.
    void bindGrid(LanguagePane& pane);
    // A generate button: the pane's answer code into its code box, or the refusal.
    void generateCode(LanguagePane& pane);
    // "&Arabic": shows the Arabic pane and offers "&English" in its place.
    void showArabicPane();
    // "&English": shows the English pane and offers "&Arabic" in its place.
    void showEnglishPane();

    Game& game_;
    RefusalPresenter refusal_;
    QLabel* welcome_ = nullptr;
    LanguagePane* english_ = nullptr;
    LanguagePane* arabic_ = nullptr;
    QTimer* timer_ = nullptr;
    QAction* signInAction_ = nullptr;
    QAction* showEnglishAction_ = nullptr;
    QAction* showArabicAction_ = nullptr;
};

}  // namespace mindlark
