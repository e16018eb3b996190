// QIRO 2.3c
// examples/counter.sch
// Portable netlist: complete on its own for a Verilog simulator (checked with Icarus Verilog).
// A gate output at x does not drive in Qiro; on nodes with several drivers such outputs
// drive z here (qiro_drive). Two drivers at opposite levels on one node give x here,
// where Qiro keeps the later one in its symbol table.
// Delays: each output carries the delay of its Qiro delay line in ns (one step is 1 ns) as a transport delay: pulses of any width pass.
// Qiro's glitch filter (option, on by default) removes one-step pulses (010, 101) before they
// leave a line of 5 steps or more (a delay of 4 steps or more); this netlist keeps them.
// Qiro computes nothing before its first step (step 3): outputs decided by supplies alone
// settle here from time 0.

`timescale 1ns / 1ps
module counter(clk1, por, rst, digit11, digit12, digit13, digit14, q0, q1, q2, q3);
 input clk1, por, rst;
 output digit11, digit12, digit13, digit14, q0, q1, q2, q3;
 wire w4, w5, w7, w9, w11;
 assign q0 = digit14;
 assign q1 = digit13;
 assign q2 = digit12;
 assign q3 = digit11;
 reg or4_r;
 always @* or4_r <= #4 rst | por;
 assign w4 = or4_r;
 qiro_dreg #(.DQ(3), .DNQ(1)) dreg5(digit14, w5, w5, w4, clk1);
 qiro_dreg #(.DQ(3), .DNQ(1)) dreg6(digit13, w7, w7, w4, digit14);
 qiro_dreg #(.DQ(3), .DNQ(1)) dreg7(digit12, w9, w9, w4, digit13);
 qiro_dreg #(.DQ(2), .DNQ(1)) dreg8(digit11, w11, w11, w4, digit12);
endmodule

// D register: rst 1 clears it (x counts as inactive); h falling from 1 to 0 stores d.
module qiro_dreg #(parameter real DQ = 0, parameter real DNQ = 0)
  (output q, output nq, input d, input rst, input h);
  reg wq = 1'bx, wn = 1'bx, pq = 1'bx, pn = 1'bx, hp = 1'bx, hn = 1'bx, rq = 1'bx, rn = 1'bx;
  time t = 0;
  function v(input a);  // 0, 1 or x
    v = (a === 1'b0 || a === 1'b1) ? a : 1'bx;
  endfunction
  always @(d or rst or h) begin
    if (DQ == 0 || $time != t) begin pq = wq; pn = wn; hp = hn; t = $time; end
    hn = h;
    if (rst === 1'b1) begin wq = 1'b0; wn = 1'b1; end
    else if (hp === 1'b1 && h === 1'b0) begin wq = v(d); wn = ~v(d); end
    else begin wq = pq; wn = pn; end
    rq <= #DQ wq;
    rn <= #DNQ wn;
  end
  assign q = rq;
  assign nq = rn;
endmodule

// Simulation parameters
// clk1 CLK 50.000 50.000
// por PWL 10 1 
// rst CLK 10 10

// Testbench: the inputs follow the stimuli above from Qiro's first step (step 3) on; one step
// is 1 ns. Run: iverilog FILE && vvp a.out
module counter_tb;
  parameter STEPS = 1000;
  localparam real TU = 1;
  reg clk1, por, rst;
  wire digit11, digit12, digit13, digit14, q0, q1, q2, q3;
  integer step;
  counter dut(.clk1(clk1), .por(por), .rst(rst), .digit11(digit11), .digit12(digit12), .digit13(digit13), .digit14(digit14), .q0(q0), .q1(q1), .q2(q2), .q3(q3));
  initial begin
    $dumpfile("counter.vcd");
    $dumpvars(1, dut);
    #(3 * TU);
    clk1 = 1'b0;
    rst = 1'b0;
    for (step = 3; step <= STEPS; step = step + 1) begin
      if (step % 100 == 0) clk1 = 1'b0; else if (step % 100 == 50) clk1 = 1'b1;  // clock clock1
      case (step) 3: por = 1'b1; 11: por = 1'b0; endcase  // pwl pwl1
      if (step % 20 == 0) rst = 1'b0; else if (step % 20 == 10) rst = 1'b1;  // button button1
      #(TU);
    end
    $finish;
  end
endmodule
Verilog description written in "-"
