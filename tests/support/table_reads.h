// The front end says when its code reads a table that the databases' load check does not list
// (a table it could read lost, with no word). The suites that drive the front end's code fail on
// such a read: they start watching as they set up and expect none as they tear down.
#pragma once

// Forgets the messages said so far, so that a read already said in an earlier test is said again.
void WatchTableReads();
// Fails the running test when the front end read a table the list lacks since WatchTableReads.
void ExpectEveryTableReadListed();
