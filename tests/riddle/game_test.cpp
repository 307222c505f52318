#include "riddle/game.h"

#include <gtest/gtest.h>

#include <QTimer>

using mindlark::Attribute;
using mindlark::Game;
using mindlark::Language;

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
    game.clear();
    EXPECT_FALSE(game.answerCode(Language::English));
    EXPECT_FALSE(game.answerCode(Language::Arabic));
    EXPECT_EQ(game.greeting(), "Welcome Ann");
    EXPECT_EQ(game.age(), "31");
    EXPECT_EQ(game.elapsed(), 1);
}

TEST(Game, BeginsAtItsStartOrFirstGreetingAndTicksEverySecondFromThen) {
    for (const bool startedFirst : {true, false}) {
        Game game;
        const auto* timer = game.findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        EXPECT_FALSE(timer->isActive()) << "nothing has begun the game";
        if (startedFirst) {
            game.start();
            QMetaObject::invokeMethod(game.findChild<QTimer*>(), "timeout");
            game.start();  // begun already: the count goes on
        }
        game.greet("Ann", "");
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 1000);
        EXPECT_EQ(game.elapsed(), startedFirst ? 1 : 0) << "until a tick sees the greeting";
    }
}

TEST(Game, AGreetingRestartsTheCountAtTheFirstTickThatSeesIt) {
    Game game;
    game.tick();
    game.setAge("52");  // the registration form's age box
    game.greet(" ", "forty");
    EXPECT_EQ(game.greeting(), "Welcome  ") << "the name exactly as stored";
    EXPECT_EQ(game.age(), "forty");
    EXPECT_EQ(game.elapsed(), 1) << "the next tick sees the change";
    game.tick();
    game.greet("Bo", "");
    game.greet(" ", "");  // changed back before any tick saw it
    game.tick();
    EXPECT_EQ(game.elapsed(), 1);
}
