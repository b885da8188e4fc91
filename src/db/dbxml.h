// The XML form of table databases:
//   <BasicDb name="..." tableDefs="n" tables="n">
//     <BasicDbTableDef name="..." columns="n"> <BasicDbTableColumnDef name="..." type="int" count="n"/> ...
//     </BasicDbTableDef> ...
//     <BasicDbTable name="..." def="definition name" rows="n"> cells, each ended by "," </BasicDbTable> ...
//   </BasicDb>
// Cells run row by row; a string cell stands in double quotes, the numbers of a column of
// several elements are separated by blanks.
#pragma once

#include "db/database.h"

struct sBasicXmlReader;

// Reads every database of "rom:/" + filename: the first goes to *db when *db is null, the rest
// are chained behind it. Bad content is reported and skipped, never fatal: 1 unless the file
// cannot be opened or holds no database, or the order to close stopped its reading. A stopped
// reading is no damage: it says nothing, and leaves what it read in *db for the caller to destroy.
int BasicDb_Load(sBasicDb** db, const char* filename);
// Reads the attributes of one BasicDb element into db.
int BasicDb_ReadXml(sBasicDb* db, sBasicXmlReader* reader);

// The XML writer of this platform opens nothing: BasicDb_Save returns 0 and writes nothing.
int BasicDb_Save(sBasicDb** db, const char* filename);
// Writes db and every database chained behind it, or count tables, through the XML writer.
int BasicDb_WriteXml(sBasicDb* db, void* file);
int BasicDbTable_WriteXml(sBasicDbTable* tables, int count, void* file);
