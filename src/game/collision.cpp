// Collision models and each alley's collision environment. The models are resources whose set-up
// the resource loader reaches through a registration, as the loader stands below the game.
#include "game/collision.h"

#include <cmath>

#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"


// Every alley lists the lane bed and then the left and right gutters: member k of its group is item k.
CollisionItem env1Items[kCollisionItemsPerEnvironment] = {
    {kCollisionItemLaneBed, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemEnd, nullptr}};
CollisionItem env2Items[kCollisionItemsPerEnvironment] = {
    {kCollisionItemLaneBed, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemEnd, nullptr}};
CollisionItem env3Items[kCollisionItemsPerEnvironment] = {
    {kCollisionItemLaneBed, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemEnd, nullptr}};
CollisionItem env4Items[kCollisionItemsPerEnvironment] = {
    {kCollisionItemLaneBed, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemEnd, nullptr}};
CollisionItem env5Items[kCollisionItemsPerEnvironment] = {
    {kCollisionItemLaneBed, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemEnd, nullptr}};
CollisionItem env6Items[kCollisionItemsPerEnvironment] = {
    {kCollisionItemLaneBed, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemGutter, nullptr}, {kCollisionItemEnd, nullptr}};

CollisionEnvironment collisionEnviroments[kNumCollisionEnvironments] = {
    {106, env1Items}, {208, env2Items}, {308, env3Items}, {408, env4Items}, {508, env5Items}, {608, env6Items},
};

int InitializeCollisionModel(uint8_t* data)
{
    if (!data) return 0;
    auto* model = reinterpret_cast<CollisionModelInfo*>(data);
    if (model->numFaces < 0) return PrintError("collision: a collision model has %d faces", int(model->numFaces));
    // Whatever the file holds in the field, the faces are the bytes after the header.
    model->faces = reinterpret_cast<CollisionFace*>(data + sizeof(CollisionModelInfo));
    return 1;
}

int RegisterCollisionModelResources()
{
    return RegisterResourceInitializer(kResourceTypeCollisionModel, InitializeCollisionModel);
}

static CollisionEnvironment* EnvironmentOf(int area)
{
    if (area < 0 || area >= kNumCollisionEnvironments) {
        PrintError("collision: alley %d has no collision environment entry", area);
        return nullptr;
    }
    return &collisionEnviroments[area];
}

static void ForgetItems(CollisionEnvironment* env)
{
    if (!env->items) return;
    for (CollisionItem* item = env->items; item->type != kCollisionItemEnd; ++item) item->info = nullptr;
}

// The physics world turns every vertex into a triangle mesh: a model must be a collision model
// whose faces lie inside its resource and whose corners are finite numbers.
static int CheckModel(int id, const resourceHeader* record, const CollisionModelInfo* model)
{
    if (record->resourceType != kResourceTypeCollisionModel)
        return PrintError("collision: resource %d is of type %d, not a collision model", id, int(record->resourceType));
    int64_t size = record->resourceUncompressedLength;
    if (size < int64_t(sizeof(CollisionModelInfo)) || model->numFaces < 0 ||
        int64_t(sizeof(CollisionModelInfo)) + int64_t(model->numFaces) * int64_t(sizeof(CollisionFace)) > size)
        return PrintError("collision model %d is damaged: %d faces do not fit in %d bytes", id,
                          int(model->numFaces), int(size));
    const CollisionFace* faces = reinterpret_cast<const CollisionFace*>(model + 1);
    for (int32_t f = 0; f < model->numFaces; ++f)
        for (int v = 0; v < 3; ++v)
            for (int c = 0; c < 3; ++c)
                if (!std::isfinite(faces[f].verts[v][c]))
                    return PrintError("collision model %d is damaged: face %d has a corner that is not a number", id,
                                      int(f));
    return 1;
}

// Links every item of the list to its member of the loaded group; 0 at the first that is missing
// or damaged.
static int LinkItems(CollisionEnvironment* env)
{
    for (int k = 0; env->items[k].type != kCollisionItemEnd; ++k) {
        int id = (env->group << 16) + k;
        void* data = nullptr;
        resourceHeader* record = nullptr;
        if (!GetResourceHandle(id, &data) || !GetResourceHeader(id, &record))
            return PrintError("collision: model %d of group %d is missing", k, int(env->group));
        auto* model = static_cast<CollisionModelInfo*>(data);
        if (!CheckModel(id, record, model)) return 0;
        model->faces = reinterpret_cast<CollisionFace*>(static_cast<uint8_t*>(data) + sizeof(CollisionModelInfo));
        env->items[k].info = model;
    }
    return 1;
}

int CreateCollisionEnvironment(int area)
{
    CollisionEnvironment* env = EnvironmentOf(area);
    if (!env) return 0;
    if (env->group == 0) return 1;
    if (!LoadResourceGroup(env->group)) return PrintError("collision: group %d cannot be loaded", int(env->group));
    if (!env->items) return 1;
    if (!LinkItems(env)) {
        // Nothing may keep pointing into a group that was refused.
        ForgetItems(env);
        UnloadResourceGroup(env->group);
        return 0;
    }
    return 1;
}

int DisposeCollisionEnvironment(int area)
{
    CollisionEnvironment* env = EnvironmentOf(area);
    if (!env) return 0;
    if (env->group == 0) return 1;
    // The models go with the group; the links must not outlive them.
    ForgetItems(env);
    if (!UnloadResourceGroup(env->group))
        return PrintError("collision: group %d cannot be unloaded", int(env->group));
    return 1;
}
