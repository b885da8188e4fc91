// Playing cards for the poker game: the deck (one or more 52-card decks, shuffled and dealt in
// order), the card numbers and values, and the ranking of a hand by the rules of poker.
//
// A card is suit * 13 + rank, suit 0..3, rank 0 the ace, 1 the king, 2 the queen, 3 the jack,
// 4 the ten ... 12 the two: ranks run from high to low.
#pragma once

constexpr int kCardsPerSuit = 13;
constexpr int kCardSuits = 4;
constexpr int kCardsPerDeck = kCardsPerSuit * kCardSuits;
constexpr int kMaxDecks = 6;
constexpr int kNoCard = -1;       // a hand entry that holds no card
constexpr int kHandCards = 5;     // the cards a poker hand is made of
constexpr int kMaxEvalCards = 7;  // the most cards a hand is ranked from

// Hand codes, lower is better.
enum {
    kHandRoyalFlush = 1,
    kHandStraightFlush,
    kHandFourOfAKind,
    kHandFullHouse,
    kHandFlush,
    kHandStraight,
    kHandThreeOfAKind,
    kHandTwoPair,
    kHandHighPair,    // jacks or better
    kHandMiddlePair,  // tens, nines or eights
    kHandLowPair,     // sevens or lower
    kHandHighCard,
};

// The value of a card, the same in every suit: ace 500, king 400, queen 300, jack 200, ten 100,
// nine 90 ... two 20. 0 for kNoCard or anything that is not a card.
int CardValue(int card);

// Keeps room for six decks of cardsPerDeck cards. 0 when the memory cannot be had or the size
// is not 1..52.
int InitCardObjects(int cardsPerDeck);
// Puts `decks` fresh decks in order, each card once per deck. 0 (and nothing changes) for more
// than six decks, fewer than one, or no room kept.
int InitDeck(int decks);
// `passes` shuffle passes over the cards in use, then dealing starts again from the first card.
// 0 or fewer passes only restart the dealing. 0 when there is no deck.
int ShuffleDeck(int passes);
// The next card into *card. 0, writing nothing, once the deck is used up: it is not reshuffled.
int DealNextCard(int* card);
// Frees the deck. 1 when there was one to free.
int DisposeCards();

// Ranks the first numCards (0..7) cards as a poker hand: the hand code into *handVal and the
// five cards that make the hand, best first, into hand (room for 7; entries without a card,
// and every entry after the fifth, are kNoCard). Always 1 for valid pointers.
int PokerHandEval(const int* cards, int numCards, int* hand, int* handVal);
// Two hands of the same code: 1 when hand A wins, 2 when hand B wins, 0 on a tie. The values of
// the five entries decide in order; suits never break a tie.
int PokerHandTieEval(const int* handA, const int* handB);
