# Copies the map page and Leaflet into DESTINATION, touching only files that
# differ. Arguments: PAGE_FILES (paths separated by "|"), LEAFLET_DIR, DESTINATION.
string(REPLACE "|" ";" page_files "${PAGE_FILES}")
set(leaflet_files leaflet.js leaflet.css)
if(NOT EXISTS "${LEAFLET_DIR}/leaflet.js" OR NOT EXISTS "${LEAFLET_DIR}/leaflet.css")
    message(FATAL_ERROR
        "Leaflet is missing from ${LEAFLET_DIR}: run tools/install-deps.sh "
        "(it runs `npm ci` in resources/mappage) and build again.")
endif()

file(MAKE_DIRECTORY "${DESTINATION}/leaflet/images")
foreach(source IN LISTS page_files)
    get_filename_component(name "${source}" NAME)
    file(COPY_FILE "${source}" "${DESTINATION}/${name}" ONLY_IF_DIFFERENT)
endforeach()
foreach(name IN LISTS leaflet_files)
    file(COPY_FILE "${LEAFLET_DIR}/${name}" "${DESTINATION}/leaflet/${name}" ONLY_IF_DIFFERENT)
endforeach()
file(GLOB images "${LEAFLET_DIR}/images/*.png")
foreach(source IN LISTS images)
    get_filename_component(name "${source}" NAME)
    file(COPY_FILE "${source}" "${DESTINATION}/leaflet/images/${name}" ONLY_IF_DIFFERENT)
endforeach()
