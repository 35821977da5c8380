# Script mode: cmake -DDIR=<folder> -P MakeCabinets.cmake
# Cabinets for the extraction tests, made with gcab as the driver package is:
#   good.cab       root.txt and sub\data.txt (several compressed blocks)
#   flat.cab       alpha.txt and bravo.txt, both at the root
#   damaged.cab    good.cab with bytes of a later block overwritten
#   truncated.cab  the first half of good.cab
#   empty.cab      no bytes at all
# The files they hold are left beside them under content/.
set(content ${DIR}/content)
file(REMOVE_RECURSE ${content})
file(MAKE_DIRECTORY ${content}/sub)
file(WRITE ${content}/root.txt "The root entry of the test cabinet.\n")
string(RANDOM LENGTH 120000 RANDOM_SEED 3 data)
file(WRITE ${content}/sub/data.txt "${data}")
file(WRITE ${content}/alpha.txt "alpha\n")
file(WRITE ${content}/bravo.txt "bravo\n")

function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${content} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "Failed: ${ARGN}")
    endif()
endfunction()

run(gcab -c -z ${DIR}/good.cab root.txt sub/data.txt)
run(gcab -c -z ${DIR}/flat.cab alpha.txt bravo.txt)

file(SIZE ${DIR}/good.cab size)
math(EXPR three_quarters "${size} * 3 / 4")
file(COPY_FILE ${DIR}/good.cab ${DIR}/damaged.cab)
run(printf XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX
    COMMAND dd of=${DIR}/damaged.cab bs=1 seek=${three_quarters} conv=notrunc status=none)

math(EXPR half "${size} / 2")
run(head -c ${half} ${DIR}/good.cab OUTPUT_FILE ${DIR}/truncated.cab)

file(WRITE ${DIR}/empty.cab "")
