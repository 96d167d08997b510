#include "render/Shaders.h"

namespace shader_source {

const std::string_view TextureVertex =
    "#version 130\n"
    "attribute vec2 aPosition;\n"
    "uniform vec4 uTexRange;\n"
    "uniform vec4 uPosRange;\n"
    "varying vec2 vTexCoord;\n"
    "void main(){\n"
    "vTexCoord=clamp(uTexRange.xy+(aPosition.xy*uTexRange.zw),0.0,1.0);\n"
    "gl_Position=vec4(vec3(vec2(uPosRange.xy+(aPosition.xy*uPosRange.zw)),0.0),1.0);\n"
    "}\n";

const std::string_view TextureFragment = "#version 130\n"
                                         "uniform sampler2D uTexUnit0;\n"
                                         "uniform vec4 uColor;\n"
                                         "varying vec2 vTexCoord;\n"
                                         "void main(){\n"
                                         "gl_FragColor=clamp(texture2D(uTexUnit0,vTexCoord).xyzw*uColor,0.0,1.0);\n"
                                         "}\n";

const std::string_view TwoTexturesVertex =
    "#version 130\n"
    "attribute vec2 aPosition;\n"
    "uniform vec4 uTexRange;\n"
    "uniform vec4 uPosRange;\n"
    "uniform vec4 uPosRange2;\n"
    "varying vec2 vTexCoord;\n"
    "varying vec2 vTexCoord2;\n"
    "void main(){\n"
    "vTexCoord=clamp(uTexRange.xy+(aPosition.xy*uTexRange.zw),0.0,1.0);\n"
    "gl_Position=vec4(vec3(vec2(uPosRange.xy+(aPosition.xy*uPosRange.zw)),0.0),1.0);\n"
    "vTexCoord2=uPosRange2.xy+(aPosition.xy*uPosRange2.zw);\n"
    "}\n";

const std::string_view TwoTexturesFragment =
    "#version 130\n"
    "uniform sampler2D uTexUnit0;\n"
    "uniform sampler2D uTexUnit1;\n"
    "uniform vec4 uColor;\n"
    "varying vec2 vTexCoord;\n"
    "varying vec2 vTexCoord2;\n"
    "void main(){\n"
    "gl_FragColor=clamp(texture2D(uTexUnit0,vTexCoord).xyzw*texture2D(uTexUnit1,vTexCoord2).xyzw*uColor,0.0,1.0);\n"
    "}\n";

const std::string_view ScrollMaskFragment =
    "#version 130\n"
    "uniform sampler2D uTexUnit0;\n"
    "uniform sampler2D uTexUnit1;\n"
    "uniform vec4 uColor;\n"
    "varying vec2 vTexCoord;\n"
    "varying vec2 vTexCoord2;\n"
    "void main(){\n"
    "const float hy=282.0/480.0;\n"
    "const float w=2.0/(200.0/480.0);\n"
    "float a=(vTexCoord2.y-hy)*w;\n"
    "a=1.0-clamp(a*a,0.0,1.0);\n"
    "gl_FragColor=clamp(texture2D(uTexUnit0,vTexCoord).xyzw*uColor*vec4(1.0,1.0,1.0,a),0.0,1.0);\n"
    "}\n";

const std::string_view SolidVertex = "#version 130\n"
                                     "attribute vec2 aPosition;\n"
                                     "uniform vec4 uPosRange;\n"
                                     "void main(){\n"
                                     "gl_Position=vec4(vec3(vec2(uPosRange.xy+(aPosition.xy*uPosRange.zw)),0.0),1.0);\n"
                                     "}\n";

const std::string_view SolidFragment = "#version 130\n"
                                       "uniform vec4 uColor;\n"
                                       "void main(){\n"
                                       "gl_FragColor=clamp(uColor,0.0,1.0);\n"
                                       "}\n";

} // namespace shader_source
