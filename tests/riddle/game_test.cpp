#include "riddle/game.h"

#include <gtest/gtest.h>

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

TEST(Game, TheCounterRestartsAtTheFirstTickThatSeesANewGreeting) {
    Game game;
    game.tick();
    game.setGreeting("Welcome Ann");
    EXPECT_EQ(game.elapsed(), 1) << "the next tick sees the change";
    game.tick();
    game.setGreeting("Welcome Bo");
    game.setGreeting("Welcome Ann");  // changed back before any tick saw it
    game.tick();
    EXPECT_EQ(game.elapsed(), 1);
}
