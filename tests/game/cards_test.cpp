// Cards: the deck deals a permutation and stops at its end, and hands rank by the rules of poker,
// ties decided by the cards' values.
#include "game/cards.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/utilities.h"
#include "support/device_heap.h"

namespace {

// "AS" = ace of suit 0 ... "2D" = two of suit 3; suits S, H, C, D are 0..3.
int C(const std::string& s)
{
    static const std::string ranks = "AKQJT98765432", suits = "SHCD";
    return int(suits.find(s[1])) * kCardsPerSuit + int(ranks.find(s[0]));
}

struct Ranked {
    int code;
    std::vector<int> hand;
};

Ranked Eval(const std::vector<std::string>& cards)
{
    std::vector<int> c;
    for (const std::string& s : cards) c.push_back(C(s));
    Ranked r{0, std::vector<int>(7, 99)};
    EXPECT_EQ(PokerHandEval(c.data(), int(c.size()), r.hand.data(), &r.code), 1);
    return r;
}

std::vector<int> Cards(const std::vector<std::string>& cards)
{
    std::vector<int> c;
    for (const std::string& s : cards) c.push_back(C(s));
    return c;
}

TEST(Cards, DeckDealsEveryCardOnceThenStops)
{
    ASSERT_EQ(UseFreshDeviceHeap(1u << 20), 1);
    InitRandomNumbers();
    ASSERT_EQ(InitCardObjects(kCardsPerDeck), 1);
    ASSERT_EQ(InitDeck(1), 1);
    ASSERT_EQ(ShuffleDeck(5), 1);
    std::vector<int> dealt;
    int card = -7;
    while (DealNextCard(&card)) dealt.push_back(card);
    EXPECT_EQ(DealNextCard(&card), 0);
    std::vector<int> sorted = dealt;
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> all(kCardsPerDeck);
    for (int i = 0; i < kCardsPerDeck; ++i) all[i] = i;
    EXPECT_EQ(sorted, all);
    EXPECT_NE(dealt, all) << "five passes leave the deck in order";
    // A shuffle starts the dealing again.
    ASSERT_EQ(ShuffleDeck(1), 1);
    EXPECT_EQ(DealNextCard(&card), 1);
    EXPECT_EQ(InitDeck(kMaxDecks + 1), 0);
    EXPECT_EQ(DisposeCards(), 1);
    EXPECT_EQ(DealNextCard(&card), 0);
    ReleaseDeviceHeap();
}

TEST(Cards, EveryHandCode)
{
    EXPECT_EQ(Eval({"AH", "KH", "QH", "JH", "TH"}).code, kHandRoyalFlush);
    const Ranked wheel = Eval({"5C", "4C", "3C", "2C", "AC", "KD", "9S"});
    EXPECT_EQ(wheel.code, kHandStraightFlush);
    EXPECT_EQ(std::vector<int>(wheel.hand.begin(), wheel.hand.begin() + 5), Cards({"5C", "4C", "3C", "2C", "AC"}));
    EXPECT_EQ(Eval({"9S", "9H", "9C", "9D", "2S", "KH"}).code, kHandFourOfAKind);
    EXPECT_EQ(Eval({"7S", "7H", "7C", "KS", "KH", "2S", "3D"}).code, kHandFullHouse);
    EXPECT_EQ(Eval({"AD", "9D", "7D", "4D", "2D", "KS"}).code, kHandFlush);
    EXPECT_EQ(Eval({"9S", "8H", "7C", "6D", "5S", "2H"}).code, kHandStraight);
    EXPECT_EQ(Eval({"5S", "4H", "3C", "2D", "AS"}).code, kHandStraight);
    EXPECT_EQ(Eval({"7S", "7H", "7C", "KS", "2H"}).code, kHandThreeOfAKind);
    const Ranked twoPair = Eval({"AS", "AH", "KS", "KH", "QS", "QH", "2D"});
    EXPECT_EQ(twoPair.code, kHandTwoPair);
    EXPECT_EQ(std::vector<int>(twoPair.hand.begin(), twoPair.hand.begin() + 5), Cards({"AS", "AH", "KS", "KH", "QS"}));
    EXPECT_EQ(Eval({"JS", "JH", "2C", "5D", "9S"}).code, kHandHighPair);
    EXPECT_EQ(Eval({"8S", "8H", "2C", "5D", "KS"}).code, kHandMiddlePair);
    EXPECT_EQ(Eval({"7S", "7H", "2C", "5D", "KS"}).code, kHandLowPair);
    EXPECT_EQ(Eval({"AS", "KH", "9C", "5D", "3S"}).code, kHandHighCard);
}

// The rules of poker where a literal reading of the hand table would stray.
TEST(Cards, GappedSuitsTwoTriplesAndShortHands)
{
    // Five hearts with a gap are a flush, not a straight flush, even with the gap's card held.
    EXPECT_EQ(Eval({"9H", "8H", "6H", "5H", "4H", "7S"}).code, kHandFlush);
    EXPECT_EQ(Eval({"KH", "QH", "JH", "TH", "8H"}).code, kHandFlush);
    // Two triples make a full house of the higher one over two of the lower.
    const Ranked house = Eval({"7S", "7H", "7C", "KS", "KH", "KC", "2D"});
    EXPECT_EQ(house.code, kHandFullHouse);
    EXPECT_EQ(std::vector<int>(house.hand.begin(), house.hand.begin() + 5), Cards({"KS", "KH", "KC", "7S", "7H"}));
    // Fewer than five cards: what is not held reads as no card.
    const Ranked few = Eval({"KS", "2H", "9C"});
    EXPECT_EQ(few.code, kHandHighCard);
    EXPECT_EQ(few.hand, (std::vector<int>{C("KS"), C("9C"), C("2H"), kNoCard, kNoCard, kNoCard, kNoCard}));
    EXPECT_EQ(Eval({}).code, kHandHighCard);
}

TEST(Cards, TiesAreDecidedByValueNeverSuit)
{
    const Ranked a = Eval({"JS", "JH", "AC", "5D", "4S"});
    const Ranked b = Eval({"JC", "JD", "AS", "5H", "4C"});
    const Ranked c = Eval({"JC", "JD", "AS", "6H", "4C"});
    EXPECT_EQ(PokerHandTieEval(a.hand.data(), b.hand.data()), 0);
    EXPECT_EQ(PokerHandTieEval(c.hand.data(), a.hand.data()), 1);
    EXPECT_EQ(PokerHandTieEval(a.hand.data(), c.hand.data()), 2);
    // A six-high straight beats the wheel; the higher house's triple decides before its pair.
    EXPECT_EQ(PokerHandTieEval(Eval({"6S", "5H", "4C", "3D", "2S"}).hand.data(), Eval({"5S", "4H", "3C", "2D", "AS"}).hand.data()), 1);
    EXPECT_EQ(PokerHandTieEval(Eval({"8S", "8H", "8C", "2S", "2H"}).hand.data(),
                               Eval({"7S", "7H", "7C", "AS", "AH"}).hand.data()),
              1);
}

}  // namespace
