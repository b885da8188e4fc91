#include "platform/model.h"

#include <cstddef>

#include "lib/printing.h"
#include "platform/skeleton.h"

static_assert(offsetof(DS3_model_tag, numStrips) == 224, "strip count at byte 224");
static_assert(offsetof(DS3_model_tag, skeleton) == kModelSkeletonField, "skeleton pointer at byte 252");

int DS3_InitializeModel(uint8_t* data, int32_t length)
{
    if (!data) return 0;
    if (length < int32_t(sizeof(DS3_model_tag)))
        return PrintError("a model of %d bytes is shorter than its record", int(length));
    auto* model = reinterpret_cast<DS3_model_tag*>(data);
    const uint8_t* end = data + length;

    // The blocks between the record and the skeleton, counted in 64 bits so that no count can
    // wrap round into the image.
    const uint64_t stripBytes =
        (model->flags & kModelFlagStripPalettes) ? uint64_t(kModelPaletteStripBytes) : uint64_t(kModelStripBytes);
    const uint64_t blocks = uint64_t(model->numVerts) * model->vertSize + 2 * uint64_t(model->numIndices) +
                            uint64_t(model->numStrips) * stripBytes +
                            uint64_t(model->numMaterials) * uint64_t(kModelMaterialBytes);
    if (blocks > uint64_t(length) - sizeof(DS3_model_tag))
        return PrintError("a model's geometry (%u vertices, %u indices, %u strips, %u materials) does not fit its %d bytes",
                          unsigned(model->numVerts), unsigned(model->numIndices), unsigned(model->numStrips),
                          unsigned(model->numMaterials), int(length));

    // Only the skeleton is relocated so far: the vertex, index, strip and material blocks, the
    // texture look-ups, the GPU addresses and the child models come with the model drawing.
    if (model->skeleton) {
        uintptr_t at = reinterpret_cast<uintptr_t>(data + sizeof(DS3_model_tag) + blocks);
        at = (at + 15) & ~uintptr_t(15);
        if (at + sizeof(HLSL_skeleton) > reinterpret_cast<uintptr_t>(end))
            return PrintError("a model's skeleton lies past its %d bytes", int(length));
        auto* skeleton = reinterpret_cast<HLSL_skeleton*>(at);
        if (!DS3_InitializeSkeleton(skeleton, end)) return PrintError("a model's skeleton is damaged");
        model->skeleton = skeleton;
    }
    return 1;
}
