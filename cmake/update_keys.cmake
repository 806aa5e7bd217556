# The keys of program updates, for the Windows program (update_keys.h.in). A throwaway RSA-3072
# pair is made once in the build folder, update-key/throwaway-private.pem, and the tests sign
# with its private half; the loopback test build always carries its public half. The program
# carries TARVENIX_UPDATE_PUBLIC_KEY (a PEM file), or the throwaway key when that is empty.
# Both become CryptoAPI's PUBLICKEYBLOB (openssl's MSBLOB form) as byte lists; the program's
# key is also left as update-key/public.pem for scripts/check-dist. No private key of a
# release ever comes near the build.
find_program(TARVENIX_OPENSSL openssl REQUIRED)
set(update_key_dir ${CMAKE_BINARY_DIR}/update-key)
set(TARVENIX_TEST_SIGNING_KEY ${update_key_dir}/throwaway-private.pem CACHE INTERNAL
    "The build's throwaway update signing key")

function(tarvenix_openssl)
  execute_process(COMMAND ${TARVENIX_OPENSSL} ${ARGN} RESULT_VARIABLE failed
                  OUTPUT_QUIET ERROR_VARIABLE error)
  if(failed)
    message(FATAL_ERROR "openssl ${ARGN}: ${error}")
  endif()
endfunction()

# tarvenix_key_bytes(var pem [-pubin]): the public key in `pem` as "0x06,0x02,...,".
function(tarvenix_key_bytes var pem)
  set(blob ${update_key_dir}/${var}.blob)
  tarvenix_openssl(rsa ${ARGN} -in ${pem} -pubout -outform MSBLOB -out ${blob})
  file(READ ${blob} hex HEX)
  string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
  set(${var} "${bytes}" PARENT_SCOPE)
endfunction()

if(NOT EXISTS ${TARVENIX_TEST_SIGNING_KEY})
  file(MAKE_DIRECTORY ${update_key_dir})
  tarvenix_openssl(genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:3072
                   -out ${TARVENIX_TEST_SIGNING_KEY})
endif()
tarvenix_key_bytes(loopback_key ${TARVENIX_TEST_SIGNING_KEY})
if(TARVENIX_UPDATE_PUBLIC_KEY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARVENIX_UPDATE_PUBLIC_KEY})
  tarvenix_key_bytes(program_key ${TARVENIX_UPDATE_PUBLIC_KEY} -pubin)
  tarvenix_openssl(rsa -pubin -in ${TARVENIX_UPDATE_PUBLIC_KEY} -out ${update_key_dir}/public.pem)
else()
  set(program_key "${loopback_key}")
  tarvenix_openssl(rsa -in ${TARVENIX_TEST_SIGNING_KEY} -pubout -out ${update_key_dir}/public.pem)
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/update_keys.h.in
               ${CMAKE_CURRENT_BINARY_DIR}/update_keys.h @ONLY)
