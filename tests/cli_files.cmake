# The components and info commands of quillmere-cli, run as a user runs them, on the shipped
# table and the example files.
function(quillmere_cli_test name status out)
  string(JOIN "|" joined ${ARGN})
  add_test(NAME cli_${name}
    COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:quillmere-cli> "-DARGS=${joined}"
      -DSTATUS=${status} "-DOUT=${out}" -P ${CMAKE_CURRENT_LIST_DIR}/cli/expect_cli.cmake)
endfunction()

set(examples ${CMAKE_SOURCE_DIR}/examples)

# Alpha-quartz (32): d12 = -d11, d26 = -2 d11, d25 = -d14 (Nye, Physical Properties of
# Crystals, ch. VII), i.e. T122 = T212 = -T111 and T213 = -T123.
quillmere_cli_test(components_quartz 0 "^t111=-t122=-t212\nt123=-t213\n$" components 5 32)
# The same group by its stored name; #32 is the cubic group 23 (d14 = d25 = d36).
quillmere_cli_test(components_stored_name 0 "^t111=-t122=-t212\n" components i\(jk\) "#12")
# The full symbol and the stored name of a group give the same components.
quillmere_cli_test(components_full_symbol 0 "^t11=t22\nt33\n$" components "(ij)" 6/mmm)
quillmere_cli_test(components_stored_symbol 0 "^t11=t22\nt33\n$" components "(ij)" 6/mm)
quillmere_cli_test(components_overline 0 "^t1111=t2222=t3333\n" components "(ij)kl" "m3̅m")
quillmere_cli_test(components_numbered 0 "^t123=t213=t312\n$" components 5 "#32")
quillmere_cli_test(components_caption 0 "^t1111=t2222=t3333\nt1122=t1133=t2211" components
  "(ij)(kl)" m-3m)
quillmere_cli_test(components_axial 0 "^This tensor does not exist\n$" components 1 4/mmm --axial)
quillmere_cli_test(components_no_entry 0
  "^this tensor and class have no independent components entrance\n$" components 4 -1)
quillmere_cli_test(components_help 0 "^Usage: quillmere-cli components KIND GROUP" components
  --help)
quillmere_cli_test(components_bad_kind 2 "^$" components 11 32)
quillmere_cli_test(components_bad_group 2 "^$" components 1 5mm)
quillmere_cli_test(components_missing_group 2 "^$" components 1)
quillmere_cli_test(components_bad_option 2 "^$" components 1 14 --axail)

quillmere_cli_test(info_quartz 0
  "Point group:  12 \"32\" \\(32, trigonal\\).*t111=-t122=-t212 = 2.3 x 10\\^-12 C/N\n  t123=-t213       = -0.335 x 10\\^-12 C/N\n"
  info ${examples}/quartz-piezoelectric.ten)
quillmere_cli_test(info_matrix 0
  "Matrix \\(x 10\\^-5 1/K\\):\n +-0.56 +0 +0\n +0 +-0.56 +0\n +0 +0 +2.5\nLargest value:  0.000025 1/K along \\[0.000000, 0.000000, 1.000000\\]\nSmallest value: -5.6E-6 1/K along \\[1.000000, 0.000000, 0.000000\\]\n$"
  info ${examples}/calcite-thermal-expansion.ten)
# Extremes in the file's units: quartz's d11 along x, copper's stiffest [111] and softest [100]
# longitudinal modulus, (c11 + 2 c12 + 4 c44)/3 and c11.
quillmere_cli_test(info_extremes_quartz 0
  "\nLargest value:  2.3E-12 C/N along \\[1.000000, 0.000000, 0.000000\\]\nSmallest value: -2.3E-12 C/N along \\[0.500000, 0.866025, 0.000000\\]\n$"
  info ${examples}/quartz-piezoelectric.ten)
quillmere_cli_test(info_extremes_copper 0
  "\nLargest value:  237.6 GPa along \\[0.577350, 0.577350, 0.577350\\]\nSmallest value: 168.4 GPa along \\[1.000000, 0.000000, 0.000000\\]\n$"
  info ${examples}/copper-elastic.ten)
quillmere_cli_test(info_help 0 "^Usage: quillmere-cli info FILE.ten" info --help)
quillmere_cli_test(info_missing_file 1 "^$" info ${examples}/no-such-file.ten)
quillmere_cli_test(info_no_file 2 "^$" info)

# FIFOs, devices, damaged files and a file-size limit given to the commands.
add_test(NAME cli_nonregular_files COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/nonregular_files_test.sh
  $<TARGET_FILE:quillmere-cli>)
set_tests_properties(cli_nonregular_files PROPERTIES TIMEOUT 120)

# The tool's start without Qt and libcurl, and the commands it hands to the full tool.
add_test(NAME cli_hand_over COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/cli/hand_over_test.sh
  $<TARGET_FILE:quillmere-cli>)
set_tests_properties(cli_hand_over PROPERTIES TIMEOUT 60)
