#ifndef LAUNCHER_RESOURCE_H
#define LAUNCHER_RESOURCE_H
// Resource ids, shared by launcher.rc and the code (include guards: the resource compiler reads it too).

#define IDI_LAUNCHER 111  // the application icon, also the hidden window's

#endif
