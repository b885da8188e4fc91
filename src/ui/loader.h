// Loading a UI description into an environment: displays, screens and nested widgets with their
// properties, constants, database files, resource files and sets, animation curves and sets. After
// reading, the resources that the displays' resource sets name are loaded, the databases opened
// and the resource loader sized.
#pragma once

#include "ui/environment.h"

struct sBasicXmlReader;

// Clears the environment and fills it from the file ("rom:/" + filename). 0 only when the quit
// flag was raised while the resources loaded. A file that cannot be opened is reported and leaves
// the environment empty but prepared (resources, databases, loader); that returns 1. What was read
// is checked before the resources load (BasicUiEnvironment_CheckLoaded).
int BasicUiEnvironment_Load(const char* filename, sBasicUiEnvironment* env);

// Element readers, called after the tag name with the reader on the first attribute. Displays,
// screens and widgets named like an existing one move it (with its subtree) to the new place;
// one without a name is made as "brokenDisplay", "brokenScreen" or "brokenWidget". Each returns
// the record, or null. None links the record into its sibling chain: the loading pass does.
sBasicUiDisplay* BasicUiDisplay_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicUiScreen* BasicUiScreen_ReadXml(sBasicXmlReader* reader, sBasicUiDisplay* display, sBasicUiEnvironment* env);
sBasicUiWidget* BasicUiWidget_ReadXml(sBasicXmlReader* reader, sBasicUiScreen* screen, sBasicUiWidget* parentWidget,
                                      sBasicUiEnvironment* env);
// Enters the constant into the hash once all its attributes are read.
sBasicUiConstantDef* BasicUiConstantDef_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicDbFile* BasicDbFile_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicUiResourceFile* BasicUiResourceFile_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicUiResourceSet* BasicUiResourceSet_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicUiResourceSetItem* BasicUiResourceSetItem_ReadXml(sBasicXmlReader* reader, sBasicUiResourceSet* set,
                                                        sBasicUiEnvironment* env);
sBasicUiAnim* BasicUiAnim_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicUiAnimKey* BasicUiAnimKey_ReadXml(sBasicXmlReader* reader, sBasicUiAnim* anim, sBasicUiEnvironment* env);
sBasicUiAnimSet* BasicUiAnimSet_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env);
sBasicUiAnimSetItem* BasicUiAnimSetItem_ReadXml(sBasicXmlReader* reader, sBasicUiAnimSet* set,
                                                sBasicUiEnvironment* env);

// The steps after reading: load the displays' resource ranges; add the databases registered with
// the database module; load every database file that has none yet, keeping a contiguous copy of
// each database it holds (the second and later ones in records of their own behind it).
int BasicUiEnvironment_InitResources(sBasicUiEnvironment* env);
int BasicUiEnvironment_AddPersistantDbs(sBasicUiEnvironment* env);
int BasicUiEnvironment_InitDbs(sBasicUiEnvironment* env);

// Loads resources first..last synchronously: 0 when the first has no header or a single resource
// fails to load; a group that fails is reported and the range goes on. Ids that no archive or
// group holds are passed over, so a range may reach the largest int.
int BasicUi_LoadResourceRange1x1(int first, int last);

// Opens every archive of the list that is not open yet ("rom:/" + filename); returns 1.
int BasicUiResourceFile_Init(sBasicUiResourceFile* file);
// The archives stay open: the resource table owns their file handles. Returns 1.
int BasicUiResourceFile_Shut(sBasicUiResourceFile* file);
