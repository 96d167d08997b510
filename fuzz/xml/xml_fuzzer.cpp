// Feeds arbitrary bytes to the XML reader and checks the tree it leaves.
#include "VelaXML/VelaXML.h"

#include <cstdlib>
#include <vector>

namespace {

// Walks the tree without recursion and checks that every node is well formed.
void checkTree(const TVelaXMLItem& root)
{
    std::vector<const TVelaXMLItem*> pending{&root};
    while (!pending.empty()) {
        const TVelaXMLItem* node = pending.back();
        pending.pop_back();
        if (node->IsTag()) {
            const auto& tag = static_cast<const TVelaXMLTag&>(*node);
            for (int32_t i = 0; i < tag.ParameterCount(); ++i) {
                const TVelaXMLParameter* parameter = tag.Parameter(i);
                if (parameter == nullptr || tag.FindParameter(parameter->Name) == nullptr) {
                    std::abort();
                }
            }
        }
        for (int32_t i = 0; i < node->Items.Count(); ++i) {
            const TVelaXMLItem* child = node->Items.Get(i);
            if (child == nullptr) {
                std::abort();
            }
            pending.push_back(child);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TVelaXML document;
    TVelaXMLMemoryStream stream;
    stream.Write(data, size);
    const bool parsed = document.Parse(stream);
    if (!parsed && document.Root.Items.Count() != 0) {
        std::abort(); // a failed parse must leave the tree empty
    }
    checkTree(document.Root);
    if (parsed) {
        TVelaXMLItem copy;
        copy.Assign(document.Root);
        if (copy.Items.Count() != document.Root.Items.Count()) {
            std::abort();
        }
    }
    return 0;
}
