/* Resource IDs shared by the program's .rc file and its window code (plain defines: windres reads
 * it). */
#pragma once

/* The application icon: icon group 1 whose one image is icon resource 30001. */
#define VERDANTIX_ICON_GROUP 1
#define VERDANTIX_ICON_IMAGE 30001
/* The 150 x 22 picture on the face of Command2. */
#define VERDANTIX_COMMAND2_PICTURE 101
