#include "riddle/game.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <vector>

using mindlark::Attribute;
using mindlark::Game;
using mindlark::Language;

namespace {

// One second as the game's own timer delivers it.
void tickByTimer(const Game& game) {
    QMetaObject::invokeMethod(game.findChild<QTimer*>(), "timeout", Qt::DirectConnection);
}

}  // namespace

TEST(Game, EachPaneKeepsItsOwnChoicesAndMakesItsOwnCode) {
    Game game;
    EXPECT_FALSE(game.answerCode(Language::English)) << "nothing chosen: no code";
    game.choose(Language::English, Attribute::Pet, 2, 4);
    game.choose(Language::English, Attribute::Smoke, 5, 1);
    game.choose(Language::English, Attribute::Smoke, 5, 5);  // no such option: nothing chosen
    game.choose(Language::English, Attribute::Color, 6, 0);  // no such house: nothing changes
    game.setAge("9");
    EXPECT_EQ(game.answerCode(Language::English),
              "-1-1-1--1-1-1- 4-1-1-1--1-1-1-1--1-1-1--1-1-1--1-9--1-1-1--1- 0");
    EXPECT_FALSE(game.answerCode(Language::Arabic));
}

TEST(Game, ClearingEmptiesBothGridsAndKeepsTheGreetingAgeAndCount) {
    Game game;
    game.greet("Ann", "31");
    game.tick();
    game.tick();
    game.choose(Language::English, Attribute::Pet, 2, 4);
    game.choose(Language::Arabic, Attribute::Color, 1, 0);
    int told = 0;
    QObject::connect(&game, &Game::cleared, [&] { ++told; });
    game.clear();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(game.answerCode(Language::English));
    EXPECT_FALSE(game.answerCode(Language::Arabic));
    EXPECT_EQ(game.greeting(), "Welcome Ann");
    EXPECT_EQ(game.age(), "31");
    EXPECT_EQ(game.elapsed(), 1);
}

TEST(Game, BeginsAtItsStartOrFirstGreetingAndTicksEverySecondFromThen) {
    for (const bool startedFirst : {true, false}) {
        SCOPED_TRACE(startedFirst ? "started, then greeted" : "greeted only");
        Game game;
        const auto* timer = game.findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        EXPECT_FALSE(timer->isActive()) << "nothing has begun the game";
        if (startedFirst) {
            game.start();
            ASSERT_TRUE(timer->isActive());
            tickByTimer(game);
            tickByTimer(game);
            game.start();  // begun already: the count goes on
        }
        game.greet("Ann", "");
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 1000);
        EXPECT_EQ(game.elapsed(), startedFirst ? 2 : 0) << "until a tick sees the greeting";
        tickByTimer(game);
        EXPECT_EQ(game.elapsed(), 0);
    }
}

TEST(Game, AGreetingRestartsTheCountAtTheNextTickUnlessItReadsAsBefore) {
    struct Step {
        std::vector<const char*> greeted;  // names greeted, in order, before the ticks
        int ticks;
        std::int64_t elapsed;
    };
    const Step steps[] = {
        {{}, 2, 2},             // no greeting yet: counting against none
        {{"Ann"}, 0, 2},        // seen at the next tick only
        {{}, 2, 1},             // the tick that sees it counts 0
        {{"Ann"}, 1, 2},        // the same player again
        {{"Bo", "Ann"}, 1, 3},  // changed back before any tick saw it
        {{"ann"}, 1, 0},        // letter case counts
    };
    Game game;
    for (const Step& step : steps) {
        for (const char* name : step.greeted)
            game.greet(name, "");
        for (int i = 0; i < step.ticks; ++i)
            game.tick();
        EXPECT_EQ(game.elapsed(), step.elapsed) << &step - steps;
    }
}

TEST(Game, AGreetingWritesTheNameAsStoredAndTheAgeTheCodeCarries) {
    Game game;
    QString shown;
    QObject::connect(&game, &Game::greeted, [&](const QString& greeting) { shown = greeting; });
    game.setAge("52");  // the registration form's age box
    game.greet(" ", "forty");
    EXPECT_EQ(game.greeting(), "Welcome  ");
    EXPECT_EQ(shown, game.greeting());
    EXPECT_EQ(game.age(), "forty");
    game.greet(QStringLiteral("بو"), "");
    EXPECT_EQ(shown, QStringLiteral("Welcome بو"));
    EXPECT_EQ(game.age(), "");
}
