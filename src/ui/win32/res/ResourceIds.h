#pragma once
// Resource ids of the drawn images, shared by the resource script and the
// code that loads them. Plain defines, so that the resource compiler reads
// them too. scripts/draw-images.py draws the icons.

#define LSU_IDI_TREE_OPEN_FOLDER 301
#define LSU_IDI_TREE_REGISTRY 302
#define LSU_IDI_TREE_STARTUP_FOLDER 303
#define LSU_IDI_TREE_USER 304
#define LSU_IDI_TREE_CLOSED_FOLDER 305
#define LSU_IDI_TREE_USERS 306
#define LSU_IDI_TREE_APP 307
#define LSU_IDI_TREE_TASK 308

#define LSU_IDI_TOOL_ADD 311
#define LSU_IDI_TOOL_DELETE 312
#define LSU_IDI_TOOL_FOLDERS 313
#define LSU_IDI_TOOL_PROPERTIES 314
#define LSU_IDI_TOOL_REFRESH 315
#define LSU_IDI_TOOL_RUN 316

#define LSU_IDI_HEADER 321
