#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>

class QAction;
class QCloseEvent;
class QLabel;

namespace mindlark {

class Game;
class LanguagePane;

// The main riddle window ("Form1"): the File menu, the welcome label and the two
// language panes, of which exactly one is shown. It shows a Game and holds none
// of its state: the label shows the game's greeting, every choice on a grid goes
// to the game, the grids empty when the game clears them, and a generate button
// shows the code the game makes. It never ends the program nor opens another
// window itself: the menu's commands are signals.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Shows the refusal for an empty grid: the message box title and its prompt.
    using RefusalPresenter = std::function<void(const QString& title, const QString& prompt)>;

    // Builds the hidden window over `game`, which must outlive it and have
    // nothing chosen yet, and fills the riddle texts.
    explicit MainWindow(Game& game, QWidget* parent = nullptr);

    // The welcome label `nameuser` as it reads now.
    QString welcomeCaption() const;

    // Renames the File menu's sign-in item ("Sign In", later "Change User").
    void setSignInCaption(const QString& caption);
    // The sign-in item's caption as it reads now.
    QString signInCaption() const;

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
    // Tells the game of every choice on `pane`'s lists.
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
    QAction* signInAction_ = nullptr;
    QAction* showEnglishAction_ = nullptr;
    QAction* showArabicAction_ = nullptr;
};

}  // namespace mindlark
