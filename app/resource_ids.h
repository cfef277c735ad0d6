/* Resources embedded in the installer. Plain defines: the resource script
   includes this file too. */
#pragma once

#define QX_RES_SKIN_ZIP 129
#define QX_RES_CODEC_DLL 130
#define QX_RES_SETTINGS_INI 131
#define QX_RES_UNUSED_VBS 132
