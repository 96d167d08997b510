#include "DataManager/DataFiles.h"
#include "render/Logger.h"

int main()
{
    InitDataFiles();
    GameLog("skeleton");
    return 0;
}
