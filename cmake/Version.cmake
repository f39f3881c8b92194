# The game's version, for the Debian package, the Windows executable's version information and
# the names of the Windows zip and installer.
set(VEXARO_VERSION 2000.02)
