// Start-up refuses a desktop driver that lacks any OpenGL 1.2 to 2.0 entry
// point, and an OpenGL ES one (WebGL) that lacks a function the renderer calls.
#include "render/GLApi.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* missingName = nullptr;
int dummyFunction = 0;

// Pretends every function exists except the one named in missingName.
void* fakeLookup(const char* name)
{
    if (missingName && std::strcmp(name, missingName) == 0)
        return nullptr;
    return &dummyFunction;
}

TEST(GLApi, NamesTheFirstIncompleteVersionGroup)
{
    std::string group;
    missingName = nullptr;
    EXPECT_TRUE(LoadGLApi(fakeLookup, group));

    // A function the renderer never calls still has to be there.
    missingName = "glWindowPos3sv";
    EXPECT_FALSE(LoadGLApi(fakeLookup, group));
    EXPECT_EQ(group, "1.4");

    missingName = "glDrawRangeElements";
    EXPECT_FALSE(LoadGLApi(fakeLookup, group));
    EXPECT_EQ(group, "1.2");

    missingName = "glUniform4f";
    EXPECT_FALSE(LoadGLApi(fakeLookup, group));
    EXPECT_EQ(group, "2.0");
}

TEST(GLApi, OpenGLESNeedsOnlyTheRenderersFunctions)
{
    std::string group;
    missingName = "glWindowPos3sv";
    EXPECT_TRUE(LoadGLESApi(fakeLookup, group));
    for (const char* called : {"glActiveTexture", "glVertexAttribPointer", "glUniform1i"}) {
        missingName = called;
        group.clear();
        EXPECT_FALSE(LoadGLESApi(fakeLookup, group)) << called;
        EXPECT_EQ(group, "2.0");
    }
}

} // namespace
