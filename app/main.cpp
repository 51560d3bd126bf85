#include "ProgramGroupBuilder.h"
#include "SetupApp.h"

// The program's two static objects. Their order matters: the group builder's DDE instance is
// made first and ended last, around the whole life of the application object.
static CProgramGroupBuilder theGroupBuilder;
static CSetupApp theApp(theGroupBuilder);
