# Copies EXECUTABLE into DIST_DIR and writes its SHA-256 beside it, in the form that
# `sha256sum -c` reads and that a user can compare by eye. The build is reproducible, so this is
# also the SHA-256 that scripts/reproducible-build.sh prints for the same commit.
get_filename_component(name "${EXECUTABLE}" NAME)
file(MAKE_DIRECTORY "${DIST_DIR}")
file(COPY_FILE "${EXECUTABLE}" "${DIST_DIR}/${name}")
file(SHA256 "${DIST_DIR}/${name}" hash)
file(WRITE "${DIST_DIR}/${name}.sha256" "${hash}  ${name}\n")
