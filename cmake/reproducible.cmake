# Two builds of one commit make the same programs, byte for byte, wherever
# the tree and the build folder lie: the compiler writes the paths below them
# relative, into the debug information (which the build-id is a hash of, and
# which stays in the build-id of a stripped program) and into __FILE__. The
# build folder's entry comes last, so that it wins for a build folder inside
# the tree.
add_compile_options(
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)

# The moc files include their headers by a path relative to the include
# folders ("about/frmabout.h") instead of one from the build folder to the
# tree ("../../../../../kaldora/src/about/frmabout.h"), which would name the
# folders above both in the debug information.
set(CMAKE_AUTOMOC_PATH_PREFIX ON)
