// The card deck of the poker game and the ranking of a poker hand.
//
// The deck is one block kept for six decks, filled in order and shuffled by swapping each place
// with a random later one. A hand is ranked by the standard rules of poker from up to seven
// cards: the best five make the hand, written best first so that two hands of one code compare
// entry by entry by card value (the rank that makes the hand first, then the kickers).
#include "game/cards.h"

#include "lib/memory.h"
#include "lib/printing.h"
#include "platform/utilities.h"

static int* theDeck = nullptr;
static int currCardNum = 0;
static int numDecks = 0;
static int numDeckCards = 0;
static int cardsPerDeck = 0;

// Values by rank, ace first.
static const int kRankValues[kCardsPerSuit] = {500, 400, 300, 200, 100, 90, 80, 70, 60, 50, 40, 30, 20};
// Ranks below these make a pair of jacks or better, of eights or better.
static const int kHighPairRanks = 4;
static const int kMiddlePairRanks = 7;
// Start ranks of a straight: ace-high (0) down to five-high (9, whose last card is the ace).
static const int kStraightStarts = 10;

static int IsCard(int card) { return card >= 0 && card < kCardsPerDeck; }
static int Rank(int card) { return card % kCardsPerSuit; }
static int Suit(int card) { return card / kCardsPerSuit; }
static int Card(int suit, int rank) { return suit * kCardsPerSuit + rank % kCardsPerSuit; }

int CardValue(int card) { return IsCard(card) ? kRankValues[Rank(card)] : 0; }

int InitCardObjects(int perDeck)
{
    if (perDeck < 1 || perDeck > kCardsPerDeck) return PrintError("cards: %d cards a deck", perDeck);
    if (theDeck) DisposeCards();
    void* block = nullptr;
    if (!AllocateMemory(&block, int(sizeof(int)) * kMaxDecks * perDeck)) return PrintError("cards: no room for the deck");
    theDeck = static_cast<int*>(block);
    cardsPerDeck = perDeck;
    numDecks = numDeckCards = currCardNum = 0;
    return 1;
}

int InitDeck(int decks)
{
    if (!theDeck) return PrintError("cards: no deck");
    if (decks < 1 || decks > kMaxDecks) return PrintError("cards: %d decks", decks);
    numDecks = decks;
    numDeckCards = decks * cardsPerDeck;
    for (int d = 0; d < decks; ++d)
        for (int k = 0; k < cardsPerDeck; ++k) theDeck[d * cardsPerDeck + k] = k;
    currCardNum = 0;
    return 1;
}

int ShuffleDeck(int passes)
{
    if (!theDeck) return PrintError("cards: no deck");
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < numDeckCards; ++i) {
            const int j = i + RandomNumber(0, numDeckCards - i);
            const int t = theDeck[i];
            theDeck[i] = theDeck[j];
            theDeck[j] = t;
        }
    }
    currCardNum = 0;
    return 1;
}

int DealNextCard(int* card)
{
    if (!card || !theDeck || currCardNum >= numDeckCards) return 0;
    *card = theDeck[currCardNum++];
    return 1;
}

int DisposeCards()
{
    if (!theDeck) return 0;
    FreeManagedMemory(theDeck, unsigned(sizeof(int)) * kMaxDecks * unsigned(cardsPerDeck));
    theDeck = nullptr;
    numDecks = numDeckCards = currCardNum = 0;
    return 1;
}

// ---- Ranking a hand ----

// What the evaluator knows of the cards held.
struct HeldCards {
    int byValue[kMaxEvalCards];  // highest value first, held order among equals
    int count;
    int held[kCardsPerDeck];
    int suitsOfRank[kCardsPerSuit];
    int cardsOfSuit[kCardSuits];
};

static void Gather(const int* cards, int numCards, HeldCards& h)
{
    h = HeldCards{};
    for (int i = 0; i < numCards && i < kMaxEvalCards; ++i) {
        const int c = cards[i];
        if (!IsCard(c) || h.held[c]) continue;  // a card held twice counts once
        h.held[c] = 1;
        h.suitsOfRank[Rank(c)]++;
        h.cardsOfSuit[Suit(c)]++;
        // Stable insertion: a card goes after every card of equal or higher value.
        int at = h.count;
        while (at > 0 && CardValue(h.byValue[at - 1]) < CardValue(c)) {
            h.byValue[at] = h.byValue[at - 1];
            --at;
        }
        h.byValue[at] = c;
        h.count++;
    }
}

// The hand being written: up to five cards, the rest kNoCard.
struct HandOut {
    int* hand;
    int n;
    void Add(int c)
    {
        if (n < kHandCards) hand[n++] = c;
    }
    int Has(int c) const
    {
        for (int i = 0; i < n; ++i)
            if (hand[i] == c) return 1;
        return 0;
    }
    // The best cards by value not in the hand yet, until it holds five.
    void Kickers(const HeldCards& h)
    {
        for (int i = 0; i < h.count && n < kHandCards; ++i)
            if (!Has(h.byValue[i])) Add(h.byValue[i]);
    }
    // `count` cards of a rank, lowest suit first.
    void OfRank(const HeldCards& h, int rank, int count)
    {
        for (int s = 0; s < kCardSuits && count > 0; ++s)
            if (h.held[Card(s, rank)]) {
                Add(Card(s, rank));
                --count;
            }
    }
};

// The highest rank held in at least `suits` suits, other than `except`; -1 when none.
static int RankWithSuits(const HeldCards& h, int suits, int except = -1)
{
    for (int r = 0; r < kCardsPerSuit; ++r)
        if (r != except && h.suitsOfRank[r] >= suits) return r;
    return -1;
}

// The first start rank of five ranks in a row (rank 13 is the ace again) for which `suit` holds
// every rank, or any suit does when suit is -1; the card of each rank into run. -1 when none.
static int FindStraight(const HeldCards& h, int suit, int run[kHandCards])
{
    for (int p = 0; p < kStraightStarts; ++p) {
        int k = 0;
        for (; k < kHandCards; ++k) {
            const int rank = (p + k) % kCardsPerSuit;
            run[k] = kNoCard;
            for (int s = 0; s < kCardSuits && run[k] == kNoCard; ++s)
                if ((suit < 0 || s == suit) && h.held[Card(s, rank)]) run[k] = Card(s, rank);
            if (run[k] == kNoCard) break;
        }
        if (k == kHandCards) return p;
    }
    return -1;
}

static int FlushSuit(const HeldCards& h)
{
    for (int s = 0; s < kCardSuits; ++s)
        if (h.cardsOfSuit[s] >= kHandCards) return s;
    return -1;
}

static int Rank(const HeldCards& h, HandOut& out)
{
    int run[kHandCards];
    const int flushSuit = FlushSuit(h);
    if (flushSuit >= 0) {
        const int p = FindStraight(h, flushSuit, run);
        if (p >= 0) {
            for (int c : run) out.Add(c);
            return p == 0 ? kHandRoyalFlush : kHandStraightFlush;
        }
    }
    const int quad = RankWithSuits(h, 4);
    if (quad >= 0) {
        out.OfRank(h, quad, 4);
        out.Kickers(h);
        return kHandFourOfAKind;
    }
    const int triple = RankWithSuits(h, 3);
    // A second triple fills the house as well as a pair does: two of its cards.
    const int pairToTriple = triple >= 0 ? RankWithSuits(h, 2, triple) : -1;
    if (pairToTriple >= 0) {
        out.OfRank(h, triple, 3);
        out.OfRank(h, pairToTriple, 2);
        return kHandFullHouse;
    }
    if (flushSuit >= 0) {
        for (int r = 0; r < kCardsPerSuit && out.n < kHandCards; ++r)
            if (h.held[Card(flushSuit, r)]) out.Add(Card(flushSuit, r));
        return kHandFlush;
    }
    if (FindStraight(h, -1, run) >= 0) {
        for (int c : run) out.Add(c);
        return kHandStraight;
    }
    if (triple >= 0) {
        out.OfRank(h, triple, 3);
        out.Kickers(h);
        return kHandThreeOfAKind;
    }
    const int pair = RankWithSuits(h, 2);
    if (pair < 0) {
        out.Kickers(h);
        return kHandHighCard;
    }
    out.OfRank(h, pair, 2);
    const int second = RankWithSuits(h, 2, pair);
    if (second >= 0) {
        out.OfRank(h, second, 2);
        out.Kickers(h);
        return kHandTwoPair;
    }
    out.Kickers(h);
    return pair < kHighPairRanks ? kHandHighPair : pair < kMiddlePairRanks ? kHandMiddlePair : kHandLowPair;
}

int PokerHandEval(const int* cards, int numCards, int* hand, int* handVal)
{
    if (!hand || !handVal || (!cards && numCards > 0)) return PrintError("cards: no hand to rank");
    for (int i = 0; i < kMaxEvalCards; ++i) hand[i] = kNoCard;
    HeldCards h;
    Gather(cards, numCards < 0 ? 0 : numCards, h);
    HandOut out{hand, 0};
    *handVal = Rank(h, out);
    return 1;
}

int PokerHandTieEval(const int* handA, const int* handB)
{
    for (int i = 0; i < kHandCards; ++i) {
        const int a = CardValue(handA[i]), b = CardValue(handB[i]);
        if (a != b) return a > b ? 1 : 2;
    }
    return 0;
}
