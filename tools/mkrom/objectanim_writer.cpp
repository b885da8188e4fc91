#include "objectanim_writer.h"

#include <cstring>

namespace mkrom {

template <class T>
static void Append(std::vector<uint8_t>* out, const T& value)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&value);
    out->insert(out->end(), p, p + sizeof(T));
}

static void AppendNode(const AnimationNode& node, std::vector<uint8_t>* out)
{
    DI_objectAnimation_tag header;
    std::memset(&header, 0, sizeof header);
    header.flags = node.flags;
    header.numFrames = int32_t(node.frames.size());
    header.rateRatio = node.rateRatio;
    header.numChildren = int32_t(node.children.size());
    Append(out, header);
    for (const DI_objectFrame& f : node.frames) Append(out, f);
    out->insert(out->end(), node.children.size() * sizeof(uint32_t), 0);
    for (const AnimationNode& child : node.children) AppendNode(child, out);
}

std::vector<uint8_t> ObjectAnimationBytes(const AnimationNode& root)
{
    std::vector<uint8_t> out;
    AppendNode(root, &out);
    return out;
}

static void CopyName(char* field, size_t size, const std::string& text)
{
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), text.size() < size ? text.size() : size - 1);
}

std::vector<uint8_t> LevelBytes(const std::string& name, const std::string& filename,
                                const std::vector<LevelObject>& objects)
{
    std::vector<uint8_t> out;
    DI_level_tag header;
    std::memset(&header, 0, sizeof header);
    CopyName(header.name, sizeof header.name, name);
    CopyName(header.filename, sizeof header.filename, filename);
    header.numObjects = int32_t(objects.size());
    Append(&out, header);
    out.insert(out.end(), objects.size() * sizeof(uint32_t), 0);
    for (const LevelObject& o : objects) {
        DI_object_tag object;
        std::memset(&object, 0, sizeof object);
        CopyName(object.name, sizeof object.name, o.name);
        object.numInstances = int32_t(o.instances.size());
        object.resourceID = o.resourceID;
        Append(&out, object);
        for (const DI_instance_tag& instance : o.instances) Append(&out, instance);
    }
    return out;
}

DI_objectFrame Keyframe(float px, float py, float pz, float ax, float ay, float az, float degrees, float s)
{
    DI_objectFrame f;
    f.position = {px, py, pz};
    createQuaternion(ax, ay, az, degrees, &f.rotation);
    f.scale = {s, s, s};
    return f;
}

}  // namespace mkrom
