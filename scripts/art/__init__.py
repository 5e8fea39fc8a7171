# Drawing helpers of the program's artwork: image files, a pixel canvas, the toolbar glyphs,
# the icons, the sample covers and a contact sheet for looking at all of them.
